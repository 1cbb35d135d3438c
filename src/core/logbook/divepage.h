// What the main window shows of the logbook: the dive list lines and the dive page, as texts.
#pragma once

#include "logbook/logbook.h"

#include <string>
#include <vector>

namespace zorv::logbook {

class FieldCatalogue;

// One line of the page: the value control, its label (empty for the computer name
// and the profile kind), the value text, and the unit label beside it, if any.
struct DivePageRow {
    int controlId = 0;
    std::string label;
    std::string value;
    int unitControlId = 0; // 0 when the row has no unit label
    std::string unit;

    bool operator==(const DivePageRow &) const = default;
};

struct DivePageOptions {
    Mode mode = Mode::Standard;
    // The "&Plombs" entry of the main window's data-field selection.
    bool weightsSelected = false;
};

// The header rows (file, dive count, mean consumption, total time) and then the
// fields of the dive at `position`, in the order of the form. An invalid position
// shows the blank record. Weights appear only in advanced mode when selected.
std::vector<DivePageRow> divePage(
    const Logbook &logbook, const FieldCatalogue &catalogue, int position, const DivePageOptions &options);

// "<kind>\t<number>\t<short date>\t<place>, <site>" (UTF-8), the site part left
// out when the dive has none; the kind is " ", "P" or "H".
std::string diveListLine(const Logbook &logbook, int position);

} // namespace zorv::logbook
