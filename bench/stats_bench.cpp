// The statistics walk over the logbook sizes divers keep: all eleven pages, and the site and partner lists.
#include "logbook/generator.h"
#include "stats/frequencylist.h"
#include "stats/statisticspage.h"

#include <benchmark/benchmark.h>
#include <map>
#include <memory>

using namespace zorv;

namespace {

// Generating 32,767 dives takes seconds: each size is made once per run.
const logbook::Logbook &generated(int dives)
{
    static std::map<int, std::unique_ptr<logbook::Logbook>> books;
    auto &slot = books[dives];
    if (!slot) {
        slot = std::make_unique<logbook::Logbook>();
        logbook::generateLogbook(*slot, { dives, 1, 1936 });
    }
    return *slot;
}

const common::LocalDateTime kToday { 2026, 12, 6, 12, 0, 0 };

void allPages(benchmark::State &state)
{
    const logbook::Logbook &book = generated(static_cast<int>(state.range(0)));
    std::vector<stats::StatisticsPage> pages;
    for (int k = 0; k < stats::kPageCount; ++k)
        pages.emplace_back(static_cast<stats::PageKind>(k));
    for (auto _ : state) {
        for (stats::StatisticsPage &page : pages)
            page.compute(book, kToday);
        benchmark::DoNotOptimize(pages.front().table().total());
    }
    state.SetItemsProcessed(state.iterations() * book.diveCount());
}
BENCHMARK(allPages)->Arg(10000)->Arg(32767)->Unit(benchmark::kMillisecond);

void firstPage(benchmark::State &state)
{
    const logbook::Logbook &book = generated(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        stats::StatisticsPage page(stats::PageKind::Year);
        page.compute(book, kToday);
        benchmark::DoNotOptimize(page.rows());
    }
}
BENCHMARK(firstPage)->Arg(32767)->Unit(benchmark::kMillisecond);

void frequencyLists(benchmark::State &state)
{
    const logbook::Logbook &book = generated(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        stats::FrequencyList sites(stats::FrequencyKind::Sites);
        sites.compute(book);
        stats::FrequencyList partners(stats::FrequencyKind::Partners);
        partners.compute(book);
        benchmark::DoNotOptimize(partners.entries().size());
    }
}
BENCHMARK(frequencyLists)->Arg(32767)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
