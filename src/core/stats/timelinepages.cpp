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

void StatisticsPage::computeTimeline(const logbook::Logbook &logbook)
{
    const bool byYear = m_kind == PageKind::Year || m_kind == PageKind::ConsumptionYear;
    const bool consumption = m_kind == PageKind::ConsumptionYear || m_kind == PageKind::ConsumptionMonth;
    const int currentIndex = m_currentYear * 12 + (m_currentMonth - 1);
    int bins = 0;
    int firstIndex = 0; // year, or year * 12 + month - 1
    std::optional<YearMonth> first;
    for (const DiveRecord &dive : logbook.dives())
        if ((first = dateOf(dive)))
            break;
    if (byYear) {
        firstIndex = first ? first->year : 1960;
        firstIndex = std::min(firstIndex, m_currentYear - 19);
        bins = m_currentYear - firstIndex + 1;
        m_timelineFirstYear = firstIndex;
        m_timelineFirstMonth = 1;
    } else {
        firstIndex = first ? first->year * 12 + (first->month - 1) : currentIndex;
        firstIndex = std::min(firstIndex, currentIndex - 23);
        bins = currentIndex - firstIndex + 1;
        m_timelineFirstYear = firstIndex / 12;
        m_timelineFirstMonth = firstIndex % 12 + 1;
    }
    const float oldScale = m_table.scale;
    m_table.size(bins);
    m_table.scale = oldScale;
    for (const DiveRecord &dive : logbook.dives()) {
        float value = 1.0f;
        if (consumption) {
            if (dive.airConsumption == 0.0f)
                continue;
            value = *categoryValue(ValueKind::Consumption, dive, m_units);
        }
        const auto date = dateOf(dive);
        if (!date)
            continue;
        const int index = byYear ? date->year : date->year * 12 + (date->month - 1);
        // Dives dated before the first dive or in the future have no row; the user is told of the latter.
        if (index > (byYear ? m_currentYear : currentIndex)) {
            ++m_laterDiveCount;
            continue;
        }
        if (index < firstIndex)
            continue;
        m_table.add(static_cast<unsigned>(index - firstIndex + 1), sampleOf(dive, value, !consumption));
    }
    if (consumption) {
        m_table.averagePerBin();
        float largest = 0.0f;
        for (const StatBin &bin : m_table.bins())
            for (std::size_t c = 0; c < 3; ++c)
                largest = std::max(largest, bin.sum[c]);
        const int step = m_units == UnitSystem::Imperial ? 1 : 10;
        m_table.scale = static_cast<float>(roundUpToStep(static_cast<int>(std::trunc(largest)) + 1, step));
    } else {
        m_table.scale = countScale(m_table);
        m_table.averageAcrossBins();
    }
}

} // namespace zorv::stats
