// Synthetic but realistic logbooks, for the bundled sample, benchmarks and tests.
#pragma once

#include "logbook/logbook.h"

#include <cstdint>

namespace zorv::logbook {

struct GeneratorOptions {
    int dives = 40;
    std::uint64_t seed = 1;
    // First dive day; dives then follow over the years at a diver's pace.
    int startYear = 2019;
    // The last day a dive may fall on (a day number), 0 for none. Dives that would run past it are all moved
    // back by the same number of days, so the logbook ends on it and keeps its pace; the caller passes today.
    std::uint32_t endDay = 0;
};

// Replaces the logbook's dives with `dives` generated ones, in date order and
// numbered from 1. The same options always give the same bytes on disk: the
// generator has its own random source and reads no clock.
void generateLogbook(Logbook &logbook, const GeneratorOptions &options);

} // namespace zorv::logbook
