// Fuzzes the logbook reader with its .add companion, then checks that what it
// accepted saves and reads back to the same bytes.
#include "logbook/divepage.h"
#include "logbook/fieldcatalogue.h"
#include "logbook/logbookfile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

namespace {

// Computers 244 (nitrox) and 164 (O2) carry the extra profile word, as in the
// built-in catalogue; the fuzzer reaches both layouts through them.
class FuzzComputers final : public zorv::logbook::ComputerInfo {
public:
    bool isNitrox(std::uint8_t typeId) const override { return typeId == 244; }
    bool isO2(std::uint8_t typeId) const override { return typeId == 164; }
    std::string displayName(std::uint8_t typeId) const override { return typeId == 0 ? "" : "Computer"; }
};

} // namespace

// Input layout: one byte of options (bit 0 advanced mode, bit 1 imperial),
// two bytes (little-endian) giving the length of the .add part at the end,
// then the .log bytes followed by the .add bytes.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace zorv::logbook;
    if (size < 3)
        return 0;
    const std::uint8_t options = data[0];
    std::size_t addSize = static_cast<std::size_t>(data[1] | (data[2] << 8));
    std::span<const std::uint8_t> rest(data + 3, size - 3);
    addSize = std::min(addSize, rest.size());
    const auto logPart = rest.first(rest.size() - addSize);
    const auto addPart = rest.last(addSize);

    static const FuzzComputers computers;
    Logbook book;
    book.setComputerInfo(&computers);
    book.setMode((options & 1) ? Mode::Advanced : Mode::Standard);
    book.setUnitSystem((options & 2) ? UnitSystem::Imperial : UnitSystem::Metric);
    const zorv::common::Result result = LogbookFile::load(book, logPart, addPart, "fuzz.log");
    if (!result.ok()) {
        if (book.diveCount() != 0 || !book.path().empty())
            std::abort(); // a refused file must leave nothing a save could write over it
        return 0;
    }

    // Every formatter must cope with whatever the file held.
    FieldCatalogue catalogue(book);
    const int shown = std::min(book.diveCount(), 8);
    for (int i = 1; i <= shown; ++i) {
        (void)divePage(book, catalogue, i, DivePageOptions { book.mode(), true });
        (void)diveListLine(book, i);
    }

    const auto log = LogbookFile::logBytes(book);
    const auto add = LogbookFile::addBytes(book);
    Logbook again;
    again.setComputerInfo(&computers);
    again.setMode(book.mode());
    if (!LogbookFile::load(again, log, add, "fuzz.log").ok())
        std::abort(); // we refused our own output
    if (LogbookFile::logBytes(again) != log || LogbookFile::addBytes(again) != add)
        std::abort(); // a second round trip changed the bytes
    return 0;
}
