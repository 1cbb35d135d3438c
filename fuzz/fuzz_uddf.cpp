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

    // Our own output must read back whole. The first pass may still settle bytes that the
    // logbook's save writes in one form only (text after a field's terminating zero), so the
    // second pass must give back exactly what the first read.
    const auto roundTrip = [&options](const logbook::Logbook &from) {
        std::string again;
        const auto written = uddf::writeUddf(from, {}, {}, [&again](std::string_view bytes) {
            again.append(bytes);
            return true;
        });
        if (!written)
            std::abort();
        auto back
            = uddf::readUddf({ reinterpret_cast<const std::uint8_t *>(again.data()), again.size() }, options, "own");
        if (!back || static_cast<int>(back->dives.size()) != from.diveCount())
            std::abort(); // we refused or lost our own output
        return std::move(back->dives);
    };
    const auto first = roundTrip(book);
    logbook::Logbook settled;
    settled.setComputerInfo(&kComputers);
    for (const logbook::DiveRecord &d : first)
        if (!settled.insertDive(d))
            std::abort();
    const auto second = roundTrip(settled);
    for (std::size_t i = 0; i < second.size(); ++i)
        if (!(second[i] == settled.dives()[i]))
            std::abort();
    return 0;
}
