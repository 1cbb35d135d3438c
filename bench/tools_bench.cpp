// The tools that change every dive at once, on the largest logbook a file can hold.
#include "logbook/daynumber.h"
#include "logbook/generator.h"
#include "tools/divefill.h"
#include "tools/divesearch.h"
#include "tools/divetools.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <memory>

using namespace zorv;

namespace {

constexpr int kDives = 32767;

// Generating 32,767 dives takes seconds: made once and copied for each benchmark.
const logbook::Logbook &generated()
{
    static const std::unique_ptr<logbook::Logbook> book = [] {
        auto b = std::make_unique<logbook::Logbook>();
        logbook::GeneratorOptions options;
        options.dives = kDives;
        options.seed = 42;
        logbook::generateLogbook(*b, options);
        return b;
    }();
    return *book;
}

void renumberAll(benchmark::State &state)
{
    logbook::Logbook book = generated();
    for (auto _ : state) {
        // Numbers from 0, so that renumbering from 1 changes every dive.
        state.PauseTiming();
        book.renumber(0);
        state.ResumeTiming();
        const tools::ToolResult r = tools::renumberAll(book, 1);
        state.counters["changed"] = r ? r->changed : -1;
    }
}
BENCHMARK(renumberAll)->Unit(benchmark::kMillisecond);

void timeZoneShiftAll(benchmark::State &state)
{
    logbook::Logbook book = generated();
    const int last = book.diveNumberAt(book.diveCount());
    int minutes = 90;
    for (auto _ : state) {
        minutes = -minutes;
        const tools::ToolResult r = tools::shiftTimeZone(book, 1, last, minutes);
        state.counters["changed"] = r ? r->changed : -1;
    }
}
BENCHMARK(timeZoneShiftAll)->Unit(benchmark::kMillisecond);

void replaceInAll(benchmark::State &state)
{
    logbook::Logbook book = generated();
    // One place in every dive, so that each replace changes them all.
    tools::FillTemplate fill;
    fill.firstNumber = 1;
    fill.lastNumber = kDives;
    fill.place = "Lac de Neuch\x83tel";
    if (!tools::fillDives(book, fill))
        std::abort();
    std::string from = "Lac";
    std::string to = "Lago";
    for (auto _ : state) {
        const tools::ToolResult r = tools::replaceAll(book, tools::ReplaceField::Place, from, to);
        state.counters["changed"] = r ? r->changed : -1;
        std::swap(from, to);
    }
}
BENCHMARK(replaceInAll)->Unit(benchmark::kMillisecond);

void criteriaSearch(benchmark::State &state)
{
    const logbook::Logbook &book = generated();
    tools::SearchCriteria criteria;
    criteria.depthFrom = 1500;
    criteria.depthTo = 3000;
    criteria.durationFrom = 30;
    criteria.dateFrom = logbook::dayNumber(1, 1, 2020);
    criteria.partner = "a";
    for (auto _ : state) {
        const std::vector<int> found = tools::findDives(book, criteria);
        state.counters["found"] = static_cast<double>(found.size());
    }
}
BENCHMARK(criteriaSearch)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
