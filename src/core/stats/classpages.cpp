#include "common/cformat.h"
#include "logbook/daynumber.h"
#include "logbook/names.h"
#include "logbook/oemcharmap.h"
#include "logbook/units.h"
#include "stats/pageinternal.h"
#include "stats/statisticspage.h"

#include <algorithm>
#include <cmath>

namespace zorv::stats {

using logbook::DiveRecord;
using logbook::kMissing;
using logbook::UnitSystem;
namespace dive_type = logbook::dive_type;
namespace extra_flags = logbook::extra_flags;

using namespace pageinternal;

namespace {

    int roundToInt(double v)
    {
        return static_cast<int>(std::lround(v));
    }

    // The classed value of a dive in hundredths of the shown unit (minutes for durations).
    std::optional<int> classValue(PageKind kind, const DiveRecord &dive, UnitSystem units, DepthSource depth)
    {
        const bool imperial = units == UnitSystem::Imperial;
        switch (kind) {
        case PageKind::Depth:
            if (depth == DepthSource::Average) {
                if (dive.avgDepth == 0.0f)
                    return std::nullopt;
                const double metres = dive.avgDepth;
                return roundToInt((imperial ? logbook::metresToFeet(metres) : metres) * 100.0);
            }
            if (dive.maxDepth == kMissing)
                return std::nullopt;
            if (!imperial)
                return dive.maxDepth;
            return roundToInt(logbook::metresToFeet(dive.maxDepth / 100.0) * 100.0);
        case PageKind::Duration:
            if (dive.duration == kMissing)
                return std::nullopt;
            return dive.duration;
        case PageKind::Temperature:
            if (dive.minWaterTemperature == kMissing)
                return std::nullopt;
            if (!imperial)
                return dive.minWaterTemperature;
            return roundToInt(logbook::celsiusToFahrenheit(dive.minWaterTemperature / 100.0) * 100.0);
        default:
            return std::nullopt;
        }
    }

} // namespace

std::vector<int> classEdges(PageKind kind, UnitSystem units)
{
    const bool metric = units == UnitSystem::Metric;
    switch (kind) {
    case PageKind::Depth:
        if (metric)
            return { 500, 1000, 1500, 2000, 2500, 3000, 3500, 4000, 4500, 5000, 5500, 6000, 6500, 20000 };
        return { 1600, 3200, 4800, 6400, 8000, 9600, 11200, 12800, 14400, 16000, 17600, 19200, 20800, 30000 };
    case PageKind::Temperature:
        if (metric)
            return { 200, 500, 800, 1100, 1400, 1700, 2000, 2300, 2600, 2900, 10000 };
        return { 3600, 4100, 4600, 5200, 5700, 6300, 6800, 7300, 7900, 8400, 20000 };
    case PageKind::Duration:
        return { 10, 20, 30, 40, 50, 60, 70, 80, 90, 20000 };
    default:
        return {};
    }
}

std::string classLabel(PageKind kind, UnitSystem units, int classNumber)
{
    const std::vector<int> edges = classEdges(kind, units);
    if (classNumber < 1 || classNumber > static_cast<int>(edges.size()))
        return {};
    const bool last = classNumber == static_cast<int>(edges.size());
    const int divisor = kind == PageKind::Duration ? 1 : 100;
    const int edge = edges[static_cast<std::size_t>(last ? classNumber - 2 : classNumber - 1)] / divisor;
    if (kind == PageKind::Duration)
        return common::cformat(last ? "> %02d min" : "- %02d min", edge);
    const std::string_view unit
        = logbook::unitWord(kind == PageKind::Depth ? logbook::Quantity::Depth : logbook::Quantity::Temperature, units);
    const std::string unitText(unit);
    if (units == UnitSystem::Metric)
        return common::cformat(last ? "> %02d %s" : "- %02d %s", edge, unitText.c_str());
    return common::cformat(last ? ">%3d %s" : "-%3d %s", edge, unitText.c_str());
}

void StatisticsPage::computeClasses(const logbook::Logbook &logbook)
{
    const std::vector<int> edges = classEdges(m_kind, m_units);
    const float oldScale = m_table.scale;
    m_table.size(static_cast<int>(edges.size()));
    m_table.scale = oldScale;
    for (ValueSummary &s : m_summaries)
        s.reset();
    const bool oneYear = options.yearMode == YearMode::OneYear;
    for (const DiveRecord &dive : logbook.dives()) {
        const std::optional<int> value = classValue(m_kind, dive, m_units, options.depth);
        if (!value)
            continue;
        if (oneYear) {
            const auto date = dateOf(dive);
            if (!date || date->year != options.selectedYear)
                continue;
            ++m_yearDiveCount;
        }
        // A value beyond the sentinel is counted in the last class.
        const auto edge = std::lower_bound(edges.begin(), edges.end(), *value);
        const auto classNumber
            = static_cast<unsigned>(std::min<std::ptrdiff_t>(edge - edges.begin(), std::ssize(edges) - 1) + 1);
        const StatBin sample = sampleOf(dive, 1.0f);
        m_table.add(classNumber, sample);
        const auto v = static_cast<float>(*value);
        for (std::size_t c = 0; c < 4; ++c)
            if (sample.sum[c] != 0.0f)
                m_summaries[c].add(v);
    }
    for (ValueSummary &s : m_summaries)
        s.finish(m_kind == PageKind::Duration ? 0.0f : 100.0f);
    // A year's bars are drawn to the scale of all dives once it is known.
    if (!oneYear || m_table.scale == 0.0f)
        m_table.scale = countScale(m_table);
}

} // namespace zorv::stats
