// Filling chosen values into a range of dives, and the dive buffers of copy and paste.
#pragma once

#include "common/result.h"
#include "logbook/logbook.h"
#include "tools/divetools.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zorv::tools {

// The values a fill writes; each member's default leaves the dives as they are.
// Kept for the run so that the same fill can be repeated on another range.
struct FillTemplate {
    int firstNumber = 0;
    int lastNumber = 0;
    std::string place; // stored (OEM) text
    std::string site;
    std::uint8_t weather = 0;
    std::int16_t airTemperature = logbook::kMissing;
    std::uint8_t suit = 0;
    std::int16_t tankVolume = logbook::kMissing;
    std::uint16_t diveTypeBits = 0; // added to diveType, never cleared
    std::uint16_t activityBits = 0; // added to activities
    std::uint16_t secondActivityBits = 0; // added to extraFlags
    // Written only in advanced mode: outside it they are reset at every opening.
    std::int16_t weights = logbook::kMissing;
    std::uint16_t tankMaterial = 0;
    std::string model;

    void reset() { *this = FillTemplate {}; }
    // What the dialog does at each opening outside advanced mode.
    void resetAdvancedFields();
};

// Fills the dives numbered firstNumber..lastNumber. Refused with "Editer plongée"
// when either number is 0; a range whose first number is above the last fills nothing.
ToolResult fillDives(logbook::Logbook &logbook, const FillTemplate &fill);

// The single-dive buffer of copy and paste, held for the run.
class SingleDiveBuffer {
public:
    // False (and the buffer empty) for an invalid position.
    bool copyFrom(const logbook::Logbook &logbook, int position);
    bool filled() const { return m_filled; }
    // The buffered dive; the paste edits it in place, so the edited dive is pasted next time.
    logbook::DiveRecord &record() { return m_record; }
    const logbook::DiveRecord &record() const { return m_record; }

private:
    logbook::DiveRecord m_record;
    bool m_filled = false;
};

// The multi-dive buffer, held for the run, so that dives can be carried into another logbook.
class MultiDiveBuffer {
public:
    // Copies the dives numbered firstNumber..lastNumber, at most last - first + 1 of
    // them. Refused with "Donnée hors limite des n° de plongée", the buffer unchanged,
    // when the range reaches outside the logbook's first and last numbers.
    common::Result copyFrom(const logbook::Logbook &logbook, int firstNumber, int lastNumber);
    // Inserts every buffered dive in date order and empties the buffer.
    ToolResult pasteInto(logbook::Logbook &logbook);
    void clear() { m_dives.clear(); }
    int count() const { return static_cast<int>(m_dives.size()); }
    const std::vector<logbook::DiveRecord> &dives() const { return m_dives; }

private:
    std::vector<logbook::DiveRecord> m_dives;
};

} // namespace zorv::tools
