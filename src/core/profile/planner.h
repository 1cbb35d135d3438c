// The DECO 92 dive planner: the table lookup, the plan of one air dive and its profile at the 20-second sample
// interval.
#pragma once

#include "common/translation.h"
#include "logbook/diverecord.h"
#include "profile/decotables.h"
#include "profile/profileclipboard.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zorv::profile {

// The previous dive of a repetitive dive: its group letter and the minutes spent at the surface since.
struct Repetitive {
    char group = '\0';
    int interval = 0;
};

// The minutes of residual nitrogen a dive to `depth` metres carries after the previous dive; 0 when the letter is
// not a group, the interval is too long for the group to count, or the depth is shallower than 9 m or deeper than
// 63 m.
int residualTime(int depth, const Repetitive &previous);

struct TableLookup {
    TableEntry entry;
    int noDecoLimit = 0;
    int residualTime = 0;
};
// The entry for a dive to `depth` whole metres and `bottomTime` minutes plus any residual time: the next deeper row,
// then its first entry that lasts at least as long. Nothing when the table is too short.
std::optional<TableLookup> findTableEntry(
    Altitude altitude, int depth, int bottomTime, const std::optional<Repetitive> &previous);

// The inputs and results of one plan, as the planner dialog keeps them for the whole run.
struct PlannerState {
    int repetitive = 0; // "Plongées succesives" ticked
    std::string group; // the previous dive's group; only its first character counts
    int interval = 0; // minutes
    double depth = 50.0; // metres
    int bottomTime = 12; // minutes from leaving the surface
    double tankLitres = 15.0;
    int fillPressure = 200; // bar
    int altitude = 0; // 0 sea level, 1 mountain lakes
    std::int32_t planTime = 0; // seconds since the epoch
    double breathingRate = 20.0; // litres per minute at the surface
    std::int32_t endTime = 0;

    int totalTime = 0;
    int ascentTime = 0; // including the stops
    int pureAscentTime = 0; // without the stops
    std::string resultGroup;
    int noDecoLimit = 0;
    int residualTime = 0;
    int noFlyHours = 0;
    int stop15 = 0;
    int stop12 = 0;
    int stop9 = 0;
    int stop6 = 0;
    int stop3 = 0;
    int remainingPressure = 0; // bar
    int pressureLoss = 0; // bar
    int airNeeded = 0; // litres at the surface
    int resultValid = 0;
    std::string resultText;
};

// The previous dive as the plan uses it: only when ticked, with an interval and a letter.
std::optional<Repetitive> repetitiveInfo(const PlannerState &state);

// The planned dive at the 20-second sample interval.
struct PlannedProfile {
    static constexpr int kCapacity = logbook::kMaxSamples;
    int count = 0; // 3 points a minute of the whole dive; the chart draws count + 1 of them
    std::array<double, kCapacity> depths {}; // metres, negative below the surface
    std::array<std::uint8_t, kCapacity> markers {}; // bit 0: a stop is owed
    int depthAxis = 0; // whole metres of the planned depth

    // The points a chart or the clipboard takes: count + 1, within the capacity.
    int pointCount() const;
};

// Fills the results and the profile of `state`. False when the table is too short; `resultValid` is then left for the
// caller, and so is the profile, which may be half built.
bool planDive(PlannerState &state, PlannedProfile &profile);

// "&Calculer" after the fields were read: nothing for a depth or time of 0; a tank without pressure or rate gets 200
// bar and 20 l/min; then the plan and the result text. False when nothing was computed.
bool calculate(PlannerState &state, PlannedProfile &profile);

// What the result box shows: the filled result text, or the table's refusal.
std::string resultText(const PlannerState &state);
inline constexpr const char *kTableTooShort = N_("Table insuffisante");

// The result text as label and value per line, for a box that shows them in two columns: the text's tabs were
// set for one old font and do not line up in another. A line without a tab is a label alone.
struct ResultRow {
    std::string label;
    std::string value;
};
std::vector<ResultRow> resultRows(std::string_view resultText);

// The planner's first state in a run, at `now`, with the logbook's mean breathing rate when it has one.
PlannerState initialPlannerState(std::int32_t now, double meanAirConsumption);

// "Déco &92" of the profile windows: the table's plan of the dive up to the cursor, without touching the planner's
// own state. False, and the clipboard unchanged, when the cursor is in the first minute or the table is too short.
bool planIntoClipboard(const logbook::DiveRecord &dive, int cursor, ProfileClipboard &clipboard);

} // namespace zorv::profile
