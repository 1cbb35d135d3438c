// Export and import of a 10,000-dive logbook as UDDF: our own full file and a portable one as other programs write.
#include "logbook/generator.h"
#include "uddf/uddfimport.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

using namespace zorv;

namespace {

constexpr int kDives = 10000;

std::filesystem::path scratchDir()
{
    static const std::filesystem::path dir = [] {
        std::string templ = (std::filesystem::temp_directory_path() / "zorv-bench-uddf-XXXXXX").string();
        if (!mkdtemp(templ.data()))
            std::abort();
        return std::filesystem::path(templ);
    }();
    return dir;
}

const logbook::Logbook &generated()
{
    static const logbook::Logbook book = [] {
        logbook::Logbook b;
        logbook::generateLogbook(b, { kDives, 42, 1990 });
        return b;
    }();
    return book;
}

std::filesystem::path exported(uddf::Content content)
{
    const auto path = scratchDir() / (content == uddf::Content::Full ? "full.uddf" : "portable.uddf");
    if (!std::filesystem::exists(path)) {
        uddf::ExportOptions options;
        options.content = content;
        if (!uddf::exportUddf(generated(), {}, options, path))
            std::abort();
    }
    return path;
}

double peakMegabytes()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void exportFull(benchmark::State &state)
{
    const logbook::Logbook &book = generated();
    const auto path = scratchDir() / "out.uddf";
    for (auto _ : state) {
        const auto written = uddf::exportUddf(book, {}, {}, path);
        if (!written)
            state.SkipWithError(written.message().c_str());
    }
    state.counters["MB"] = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
    state.counters["peakMB"] = peakMegabytes();
}
BENCHMARK(exportFull)->Unit(benchmark::kMillisecond)->Iterations(3);

void importInto(benchmark::State &state, uddf::Content content)
{
    const auto path = exported(content);
    for (auto _ : state) {
        auto read = uddf::readUddfFile(path, {});
        if (!read) {
            state.SkipWithError(read.message().c_str());
            break;
        }
        logbook::Logbook book;
        const uddf::ImportSummary summary = uddf::addToLogbook(book, std::move(*read));
        if (summary.added != kDives)
            state.SkipWithError("dives lost");
        benchmark::DoNotOptimize(book.totalMinutes());
    }
    state.counters["peakMB"] = peakMegabytes();
}

void importOwn(benchmark::State &state)
{
    importInto(state, uddf::Content::Full);
}
void importPortable(benchmark::State &state)
{
    importInto(state, uddf::Content::Portable);
}
BENCHMARK(importOwn)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(importPortable)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
