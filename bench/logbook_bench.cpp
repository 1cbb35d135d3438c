// Loading, saving and recomputing generated logbooks of the sizes divers actually keep.
#include "logbook/generator.h"
#include "logbook/logbookfile.h"
#include "logbook/logbooksnapshot.h"
#include "logbook/suggestionlists.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <unistd.h>

using namespace zorv::logbook;

namespace {

// Generating 32,767 dives takes seconds, so each size is made once per run and
// kept as files in a scratch folder.
struct GeneratedSet {
    std::filesystem::path path;
    std::vector<std::uint8_t> log;
    std::vector<std::uint8_t> add;
};

std::filesystem::path scratchDir()
{
    static const std::filesystem::path dir = [] {
        std::string templ = (std::filesystem::temp_directory_path() / "zorv-bench-XXXXXX").string();
        if (!mkdtemp(templ.data()))
            std::abort();
        return std::filesystem::path(templ);
    }();
    return dir;
}

const GeneratedSet &generated(int dives)
{
    static std::map<int, std::unique_ptr<GeneratedSet>> sets;
    auto &slot = sets[dives];
    if (!slot) {
        Logbook book;
        GeneratorOptions options;
        options.dives = dives;
        options.seed = 42;
        generateLogbook(book, options);
        slot = std::make_unique<GeneratedSet>();
        slot->path = scratchDir() / ("bench-" + std::to_string(dives) + ".log");
        if (!LogbookFile::save(book, slot->path.string()))
            std::abort();
        slot->log = LogbookFile::logBytes(book);
        slot->add = LogbookFile::addBytes(book);
    }
    return *slot;
}

void loadFromDisk(benchmark::State &state)
{
    const GeneratedSet &set = generated(static_cast<int>(state.range(0)));
    Logbook book;
    for (auto _ : state) {
        book.reset();
        auto result = LogbookFile::loadFromPath(book, set.path.string());
        if (!result)
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(book.diveCount());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * (set.log.size() + set.add.size())));
}

void loadFromMemory(benchmark::State &state)
{
    const GeneratedSet &set = generated(static_cast<int>(state.range(0)));
    Logbook book;
    for (auto _ : state) {
        book.reset();
        auto result = LogbookFile::load(book, set.log, set.add, set.path.string());
        if (!result)
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(book.diveCount());
    }
}

void saveToDisk(benchmark::State &state)
{
    const GeneratedSet &set = generated(static_cast<int>(state.range(0)));
    Logbook book;
    if (!LogbookFile::loadFromPath(book, set.path.string()))
        state.SkipWithError("load failed");
    const std::string out = (scratchDir() / ("saved-" + std::to_string(state.range(0)) + ".log")).string();
    for (auto _ : state) {
        if (!LogbookFile::save(book, out))
            state.SkipWithError("save failed");
    }
}

void recomputeWithLists(benchmark::State &state)
{
    const GeneratedSet &set = generated(static_cast<int>(state.range(0)));
    Logbook book;
    if (!LogbookFile::loadFromPath(book, set.path.string()))
        state.SkipWithError("load failed");
    for (auto _ : state) {
        book.recomputeTotals();
        benchmark::DoNotOptimize(zorv::logbook::SuggestionLists(book).list(zorv::logbook::ListId::Places).count());
        benchmark::DoNotOptimize(book.totalMinutes());
    }
}

// What undo adds to a command: the snapshot after one edited dive, sharing
// every other record with the one before.
void undoStepAfterOneEdit(benchmark::State &state)
{
    const GeneratedSet &set = generated(static_cast<int>(state.range(0)));
    Logbook book;
    if (!LogbookFile::loadFromPath(book, set.path.string()))
        state.SkipWithError("load failed");
    const LogbookSnapshot before = LogbookSnapshot::take(book);
    DiveRecord edited = *book.dive(book.diveCount() / 2);
    edited.weather = static_cast<std::uint8_t>(edited.weather == 1 ? 2 : 1);
    book.putDive(edited, book.diveCount() / 2);
    for (auto _ : state) {
        const LogbookSnapshot after = LogbookSnapshot::take(book, &before);
        benchmark::DoNotOptimize(after.diveCount());
    }
}

// Undo and redo of renumbering every dive: numbers live beside the shared records.
void undoRedoRenumberAll(benchmark::State &state)
{
    const GeneratedSet &set = generated(static_cast<int>(state.range(0)));
    Logbook book;
    if (!LogbookFile::loadFromPath(book, set.path.string()))
        state.SkipWithError("load failed");
    const LogbookSnapshot before = LogbookSnapshot::take(book);
    book.renumber(500);
    const LogbookSnapshot after = LogbookSnapshot::take(book, &before);
    for (auto _ : state) {
        before.restoreInto(book);
        after.restoreInto(book);
        benchmark::DoNotOptimize(book.firstDiveNumber());
    }
}

} // namespace

BENCHMARK(undoStepAfterOneEdit)->Arg(1000)->Arg(32767)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(undoRedoRenumberAll)->Arg(1000)->Arg(32767)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(loadFromDisk)->Arg(1000)->Arg(10000)->Arg(32767)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(loadFromMemory)->Arg(1000)->Arg(10000)->Arg(32767)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(saveToDisk)->Arg(1000)->Arg(10000)->Arg(32767)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(recomputeWithLists)->Arg(1000)->Arg(10000)->Arg(32767)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ec;
    std::filesystem::remove_all(scratchDir(), ec);
    return 0;
}
