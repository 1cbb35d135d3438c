// Tools that change many dives in one stroke: renumbering, the time-zone shift, split and merge.
#pragma once

#include "common/result.h"
#include "logbook/logbook.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zorv::tools {

// What a tool changed, so that the caller can refresh its views and keep an undo
// step. Positions are 1-based and ascending; they name the dives after the change.
struct ToolChange {
    int changed = 0; // dives whose record was changed in place
    std::vector<int> positions; // their positions
    int inserted = 0; // position of the dive a split inserted; 0 when none
    int removed = 0; // position a merge removed (as it was before the removal); 0 when none
    int cut = 0; // replaced texts cut to their field's capacity
    std::string message; // what the program tells the user afterwards (UTF-8); may be empty
};

// A refusal carries Status::Refused and the program's French message; nothing was changed then.
using ToolResult = common::ResultOr<ToolChange>;

// Renumbers every dive from `firstNumber` up. An empty logbook is left alone.
ToolResult renumberAll(logbook::Logbook &logbook, int firstNumber);
// "Numéroter plongées avec N§ de départ #%d?"
std::string renumberAllQuestion(int firstNumber);

// Gives the dives numbered firstNumber..lastNumber (both included) the numbers
// newStart, newStart + 1, ... in position order; the dives are not re-sorted.
// Refused with "Donnée hors limite des n° de plongée" when the range reaches
// outside the first and the last dive's numbers.
ToolResult renumberRange(logbook::Logbook &logbook, int firstNumber, int lastNumber, int newStart);
// The question to ask before renumberRange when the new numbers would repeat
// numbers that dives outside the range keep; nullopt when every number stays single.
std::optional<std::string> renumberRangeQuestion(
    const logbook::Logbook &logbook, int firstNumber, int lastNumber, int newStart);

// "h:m" (or plain minutes) as a positive difference in minutes; nullopt when it is not a time.
std::optional<int> parseTimeDifference(std::string_view text);
// "Plongée #%d à #%d\navec %s%s HH:MM corriger?" for a signed difference in minutes.
std::string timeShiftQuestion(int fromNumber, int toNumber, int minutes);
// Checks the dive numbers of a shift before the question is asked: refused with
// "Donnée eronnée" when from is above to or to above the last dive's number.
common::Result checkTimeShift(const logbook::Logbook &logbook, int fromNumber, int toNumber);
// Moves date and entry time of the dives numbered fromNumber..toNumber by `minutes`
// (negative: back), across midnight and month and year ends. The shift is calendar
// arithmetic, not local time: a time-zone correction must not gain or lose an hour
// because a daylight-saving change lies in between. A difference of 0 and an empty
// logbook change nothing; dives without a date or time are skipped.
ToolResult shiftTimeZone(logbook::Logbook &logbook, int fromNumber, int toNumber, int minutes);

// Merges the dive at `position` with the next one (the next dive is removed).
// Refused with "Plongée #%d et #%d ne peuvent pas\nêtre fusionné" when there is no
// next dive, the next has no profile, the interval is above 120 minutes, a depth or
// duration is missing, the profiles together are too long, the computers differ,
// or the profiles are of an O2 computer (8-byte groups that this splice would tear).
ToolResult mergeWithNext(logbook::Logbook &logbook, int position);

// The split minute shown for a cursor sample of the profile plot.
inline int splitMinuteForSample(int sampleIndex)
{
    return sampleIndex / 3;
}

// Splits the dive at `position` after `minute` minutes; the second part is
// inserted in date order. Refused with "Plongée #%d ne peut pas\nêtre coupé" when
// the minute is 0 or past the profile, the diver is still below the surface band
// at the cut, or the profile is of an O2 computer.
ToolResult splitDive(logbook::Logbook &logbook, int position, int minute);

} // namespace zorv::tools
