// Planning a dive from the tables, profile included, as the planner dialog and the profile window's button do it.
#include "profile/planner.h"

#include <benchmark/benchmark.h>

using namespace zorv::profile;

namespace {

void planWithProfile(benchmark::State &bench, double depth, int minutes, bool repetitive)
{
    PlannedProfile profile;
    for (auto _ : bench) {
        PlannerState state;
        state.depth = depth;
        state.bottomTime = minutes;
        if (repetitive) {
            state.repetitive = 1;
            state.group = "F";
            state.interval = 45;
        }
        benchmark::DoNotOptimize(planDive(state, profile));
        benchmark::DoNotOptimize(profile.markers.data());
    }
}

// The longest plans the tables allow: every planned point walks the table for its marker.
BENCHMARK_CAPTURE(planWithProfile, deco24m55min, 24.0, 55, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(planWithProfile, shallow9m100min, 9.0, 100, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(planWithProfile, repetitive18m40min, 18.0, 40, true)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
