// How long the spreadsheet export of a whole logbook takes.
#include "logbook/generator.h"
#include "logbook/logbook.h"
#include "reports/csvexport.h"

#include <benchmark/benchmark.h>

using namespace zorv;

namespace {

void csvEveryField(benchmark::State &state)
{
    logbook::Logbook book;
    logbook::GeneratorOptions options;
    options.dives = static_cast<int>(state.range(0));
    logbook::generateLogbook(book, options);
    reports::CsvChoices choices;
    choices.fieldSet = ((1u << reports::kCsvFieldCount) - 1) & ~reports::csvBit(reports::CsvField::Profile);
    const int last = book.diveNumberAt(book.diveCount());
    for (auto _ : state) {
        auto text = reports::exportCsv(book, book.diveNumberAt(1), last, choices);
        benchmark::DoNotOptimize(text);
    }
}

} // namespace

BENCHMARK(csvEveryField)->Arg(10000)->Arg(32767)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
