#include "profile/planner.h"

#include "common/cformat.h"
#include "common/strings.h"

#include <algorithm>
#include <cmath>

namespace zorv::profile {

using common::StringId;

namespace {

    // Index into TableEntry::stops for the walk from the deepest stop up.
    constexpr std::array<int, 5> kDeepestFirst { 4, 3, 2, 1, 0 };

    std::optional<int> surfaceIntervalColumn(char group, int interval)
    {
        for (const SurfaceIntervalRow &row : kSurfaceIntervalTable) {
            if (row.group != group)
                continue;
            // Limit 1 is never read: the columns start at limit 2.
            for (int column = 1; column <= 6; ++column)
                if (interval <= row.limits[static_cast<std::size_t>(column)])
                    return column;
            return std::nullopt;
        }
        return std::nullopt;
    }

    // Writes points without running past the profile; later points are surface points.
    class PointWriter {
    public:
        explicit PointWriter(PlannedProfile &profile)
            : m_profile(profile)
        {
        }
        void add(double depth)
        {
            if (m_next < PlannedProfile::kCapacity)
                m_profile.depths[static_cast<std::size_t>(m_next)] = std::max(depth, 0.0);
            ++m_next;
        }
        int next() const { return m_next; }

    private:
        PlannedProfile &m_profile;
        int m_next = 0;
    };

    void buildDepths(const PlannerState &state, const TableEntry &entry, PlannedProfile &profile)
    {
        const double d = state.depth;
        PointWriter out(profile);
        // Down at 20 m a minute, whole points only.
        const int descent = static_cast<int>(0.15 * d);
        const double descentStep = d / (0.15 * d);
        for (int i = 0; i < descent; ++i)
            out.add(i * descentStep);
        while (out.next() < 3 * state.bottomTime)
            out.add(d);

        double current = d;
        for (int s : kDeepestFirst) {
            const int minutes = entry.stops[static_cast<std::size_t>(s)];
            if (minutes == 0)
                continue;
            const double stopDepth = kStopDepths[static_cast<std::size_t>(s)];
            // Up at 10 m a minute to the stop, then three points a minute at it.
            const double gap = current - stopDepth;
            const double step = gap / (0.3 * gap);
            for (int j = 0; j <= 0.3 * gap; ++j)
                out.add(current - j * step);
            for (int j = 0; j < 3 * minutes; ++j)
                out.add(stopDepth);
            current = stopDepth;
        }
        if (entry.stops[0] != 0) {
            out.add(3.0);
        } else {
            const int ascent = static_cast<int>(0.15 * d) + 1;
            for (int i = 0; i < ascent; ++i)
                out.add(current - i * descentStep);
        }
    }

    // Bit 0 of each point: a stop is still owed there, as a table diver would
    // read it at that depth and time, and then as the stops are worked off.
    void markStops(const PlannerState &state, PlannedProfile &profile)
    {
        const Altitude altitude = state.altitude == 1 ? Altitude::Mountain : Altitude::SeaLevel;
        const std::optional<Repetitive> previous = repetitiveInfo(state);
        TableEntry current;
        int pointsAtStop = 0;
        const int n = std::min(profile.count, PlannedProfile::kCapacity);
        for (int p = 0; p < n; ++p) {
            const double depth = profile.depths[static_cast<std::size_t>(p)];
            bool marked = false;
            if (depth >= state.depth || current.stops[0] == 0) {
                if (auto found = findTableEntry(altitude, static_cast<int>(depth), (p + 1) / 3, previous))
                    current = found->entry;
                marked = current.stopTotal() != 0;
            } else {
                for (int s : kDeepestFirst) {
                    int &left = current.stops[static_cast<std::size_t>(s)];
                    const int stopDepth = kStopDepths[static_cast<std::size_t>(s)];
                    if (left == 0 || stopDepth > depth)
                        continue;
                    marked = true;
                    if (depth == stopDepth && ++pointsAtStop % 3 == 0)
                        --left;
                    break;
                }
            }
            profile.markers[static_cast<std::size_t>(p)] = marked ? 1 : 0;
        }
    }

    double airAt(double depth, double minutes, double rate)
    {
        return (depth * 0.1 + 1) * minutes * rate;
    }

} // namespace

int residualTime(int depth, const Repetitive &previous)
{
    const std::optional<int> column = surfaceIntervalColumn(previous.group, previous.interval);
    if (!column || depth < kResidualTable.front().depth || depth > kResidualTable.back().depth)
        return 0;
    // The next shallower row: residual nitrogen is never overstated by rounding the depth up.
    const ResidualRow *row = &kResidualTable.front();
    for (const ResidualRow &candidate : kResidualTable)
        if (candidate.depth <= depth)
            row = &candidate;
    return row->minutes[static_cast<std::size_t>(*column - 1)];
}

std::optional<TableLookup> findTableEntry(
    Altitude altitude, int depth, int bottomTime, const std::optional<Repetitive> &previous)
{
    for (const TableRow &row : decoTable(altitude)) {
        if (row.depth < depth)
            continue;
        TableLookup lookup;
        lookup.noDecoLimit = row.noDecoLimit;
        if (previous && previous->interval != 0)
            lookup.residualTime = residualTime(depth, *previous);
        for (const TableEntry &entry : row.entries) {
            if (entry.bottomTime != 0 && entry.bottomTime >= lookup.residualTime + bottomTime) {
                lookup.entry = entry;
                return lookup;
            }
        }
        return std::nullopt;
    }
    return std::nullopt;
}

std::optional<Repetitive> repetitiveInfo(const PlannerState &state)
{
    if (state.repetitive == 0 || state.interval == 0 || state.group.empty())
        return std::nullopt;
    return Repetitive { state.group.front(), state.interval };
}

int PlannedProfile::pointCount() const
{
    return std::clamp(count + 1, 0, kCapacity);
}

bool planDive(PlannerState &state, PlannedProfile &profile)
{
    const Altitude altitude = state.altitude == 1 ? Altitude::Mountain : Altitude::SeaLevel;
    if (!std::isfinite(state.depth) || state.depth < 0 || state.depth > 1000 || state.bottomTime < 0)
        return false;
    const std::optional<TableLookup> lookup
        = findTableEntry(altitude, static_cast<int>(state.depth), state.bottomTime, repetitiveInfo(state));
    if (!lookup)
        return false;
    const TableEntry &entry = lookup->entry;
    const double d = state.depth;

    state.noDecoLimit = lookup->noDecoLimit;
    state.resultGroup = std::string(1, entry.group);
    state.residualTime = lookup->residualTime;
    state.stop3 = entry.stops[0];
    state.stop6 = entry.stops[1];
    state.stop9 = entry.stops[2];
    state.stop12 = entry.stops[3];
    state.stop15 = entry.stops[4];

    // Up at 10 m a minute plus the stops, rounded up to whole minutes.
    const int stopMinutes = entry.stopTotal();
    const int ascentSeconds = 60 * stopMinutes + static_cast<int>(6 * d);
    const int minutes = ascentSeconds / 60;
    const int partial = ascentSeconds % 60 != 0 ? 1 : 0;
    state.ascentTime = minutes + partial;
    state.pureAscentTime = minutes - stopMinutes + partial;
    state.totalTime = minutes + state.bottomTime + partial;
    state.noFlyHours = noFlyHours(entry.group).value_or(0);
    state.endTime = state.planTime + 60 * state.totalTime;

    state.airNeeded = 0;
    state.remainingPressure = 0;
    state.pressureLoss = 0;
    if (state.tankLitres != 0 || state.breathingRate != 0) {
        const double rate = state.breathingRate;
        double air = airAt(d, state.bottomTime, rate);
        for (std::size_t s = 0; s < kStopDepths.size(); ++s)
            air += airAt(kStopDepths[s], entry.stops[s], rate);
        air += (d * 0.05 + 1) * state.pureAscentTime * rate;
        state.airNeeded = static_cast<int>(air);
        if (state.tankLitres != 0) {
            const double gas = std::trunc(state.fillPressure * state.tankLitres);
            const double left = std::trunc(gas - air);
            state.remainingPressure = static_cast<int>(left / state.tankLitres);
            state.pressureLoss = state.fillPressure - state.remainingPressure;
        }
    }

    profile = PlannedProfile {};
    profile.count = 3 * state.totalTime;
    profile.depthAxis = static_cast<int>(d);
    buildDepths(state, entry, profile);
    markStops(state, profile);
    for (double &depth : profile.depths)
        depth = -depth;
    return true;
}

std::string resultText(const PlannerState &state)
{
    if (state.resultValid == 0)
        return common::cformat("\n %s", common::tr(kTableTooShort));
    const std::string format(common::str(StringId::PlannerResult));
    return common::cformat(format.c_str(), state.totalTime, state.ascentTime, state.resultGroup.c_str(),
        state.residualTime, state.noDecoLimit, state.noFlyHours, state.stop15, state.stop12, state.stop9, state.stop6,
        state.stop3, state.remainingPressure, state.pressureLoss, state.airNeeded);
}

std::vector<ResultRow> resultRows(std::string_view resultText)
{
    std::vector<ResultRow> rows;
    std::size_t start = 0;
    while (start <= resultText.size()) {
        const std::size_t end = std::min(resultText.find('\n', start), resultText.size());
        std::vector<std::string> parts;
        std::string_view line = resultText.substr(start, end - start);
        std::size_t from = 0;
        while (from <= line.size()) {
            const std::size_t tab = std::min(line.find('\t', from), line.size());
            std::string_view part = line.substr(from, tab - from);
            while (!part.empty() && part.front() == ' ')
                part.remove_prefix(1);
            while (!part.empty() && part.back() == ' ')
                part.remove_suffix(1);
            if (!part.empty())
                parts.emplace_back(part);
            from = tab + 1;
        }
        if (!parts.empty()) {
            ResultRow row;
            if (parts.size() > 1) {
                row.value = parts.back();
                parts.pop_back();
            }
            for (const std::string &part : parts)
                row.label += (row.label.empty() ? "" : " ") + part;
            rows.push_back(std::move(row));
        }
        start = end + 1;
    }
    return rows;
}

bool calculate(PlannerState &state, PlannedProfile &profile)
{
    if (state.depth == 0 || state.bottomTime == 0)
        return false;
    if (state.tankLitres != 0) {
        if (state.fillPressure == 0)
            state.fillPressure = 200;
        if (state.breathingRate == 0)
            state.breathingRate = 20.0;
    }
    state.resultValid = planDive(state, profile) ? 1 : 0;
    state.resultText = resultText(state);
    return true;
}

PlannerState initialPlannerState(std::int32_t now, double meanAirConsumption)
{
    PlannerState state;
    state.planTime = now;
    state.breathingRate = meanAirConsumption != 0 ? meanAirConsumption : 20.0;
    return state;
}

bool planIntoClipboard(const logbook::DiveRecord &dive, int cursor, ProfileClipboard &clipboard)
{
    const std::optional<PlanRequest> request = planRequest(dive, cursor);
    if (!request)
        return false;
    PlannerState state;
    state.depth = request->depthMetres;
    state.bottomTime = request->bottomMinutes;
    state.altitude = request->mountainTable ? 1 : 0;
    state.tankLitres = 0;
    state.breathingRate = 0;
    state.fillPressure = 0;
    PlannedProfile profile;
    if (!planDive(state, profile))
        return false;
    const auto points = static_cast<std::size_t>(profile.pointCount());
    clipboard.setProfile(std::span<const double>(profile.depths.data(), points),
        std::span<const std::uint8_t>(profile.markers.data(), points));
    return true;
}

} // namespace zorv::profile
