// Dives and logbooks for the statistics tests.
#pragma once

#include "logbook/daynumber.h"
#include "logbook/logbook.h"

#include <vector>

namespace zorv::stats::test {

// A 40-minute dive on the 15th of the month, sea water unless told.
inline logbook::DiveRecord dive(
    int year, int month, std::int16_t depthCm, std::uint16_t type = logbook::dive_type::kSeaWater)
{
    logbook::DiveRecord d;
    d.date = logbook::dayNumber(15, month, year);
    d.maxDepth = depthCm;
    d.duration = 40;
    d.diveType = type;
    return d;
}

inline logbook::Logbook logbookOf(
    std::vector<logbook::DiveRecord> dives, logbook::UnitSystem units = logbook::UnitSystem::Metric)
{
    logbook::Logbook book;
    book.setUnitSystem(units);
    book.adoptDives(std::move(dives));
    return book;
}

} // namespace zorv::stats::test
