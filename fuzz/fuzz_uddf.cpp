// Fuzzes the UDDF reader. Whatever it accepts must make a logbook whose own export
// reads back to the same dives, and no dive may break the record's limits.
#include "uddf/uddfimport.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

namespace {

class FuzzComputers final : public zorv::logbook::ComputerInfo {
public:
    bool isNitrox(std::uint8_t typeId) const override { return typeId == 244; }
    bool isO2(std::uint8_t typeId) const override { return typeId == 164; }
    std::string displayName(std::uint8_t) const override { return "Computer"; }
};

const FuzzComputers kComputers;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace zorv;
    uddf::ImportOptions options;
    options.computers = &kComputers;
    auto content = uddf::readUddf({ data, size }, options, "fuzz.uddf");
    if (!content)
        return 0;
    for (const logbook::DiveRecord &d : content->dives)
        if (d.sampleCount > logbook::kMaxSamples || d.profileBytes.size() > logbook::kProfileBytesCapacity)
            std::abort();
    logbook::Logbook book;
    book.setComputerInfo(&kComputers);
    const uddf::ImportSummary summary = uddf::addToLogbook(book, std::move(*content));
    if (summary.added != book.diveCount())
        std::abort();

    std::string again;
    const auto written = uddf::writeUddf(book, {}, {}, [&again](std::string_view bytes) {
        again.append(bytes);
        return true;
    });
    if (!written)
        std::abort();
    auto back = uddf::readUddf({ reinterpret_cast<const std::uint8_t *>(again.data()), again.size() }, options, "own");
    if (!back || static_cast<int>(back->dives.size()) != book.diveCount())
        std::abort(); // we refused or lost our own output
    for (std::size_t i = 0; i < back->dives.size(); ++i)
        if (!(back->dives[i] == book.dives()[i]))
            std::abort();
    return 0;
}
