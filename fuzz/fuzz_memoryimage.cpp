// Fuzzes the decoder of a dive computer's memory image: loading, the settings texts,
// the search for new dives and their conversion into a logbook.
#include "common/clock.h"
#include "computers/computercatalogue.h"
#include "logbook/logbook.h"
#include "transfer/memoryimage.h"
#include "transfer/transferlist.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

// Input layout: the 2050 bytes of the image as captured, then optionally ten bytes
// describing the logbook's last dive (date u32, entry time i16, computer clock u32,
// little-endian); without them the logbook is empty.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace zorv;
    static const common::FixedClock clock(1718474400);
    static const computers::ComputerCatalogue catalogue = computers::ComputerCatalogue::withBuiltInTypes();
    common::setClock(&clock);

    // Most mutations would only meet the checksum; bit 1 of the second preamble byte
    // (never interpreted) clears the stored sum, which turns the check off.
    std::vector<std::uint8_t> input(data, data + size);
    if (size >= transfer::image::kSize && (data[1] & 2))
        input[transfer::image::kChecksum] = input[transfer::image::kChecksum + 1] = 0;
    transfer::MemoryImage memory;
    if (!memory.load(input)) {
        if (memory.diveCount() != 0)
            std::abort(); // a refused image must leave nothing to accept
        return 0;
    }
    const int count = memory.diveCount();
    if (count > transfer::image::kLogbookEntries)
        std::abort();

    logbook::Logbook book;
    book.setComputerInfo(&catalogue);
    if (size >= transfer::image::kSize + 10) {
        const std::uint8_t *p = data + transfer::image::kSize;
        logbook::DiveRecord last;
        last.date
            = static_cast<std::uint32_t>(p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24));
        last.entryTime = static_cast<std::int16_t>(p[4] | (p[5] << 8));
        last.computerLong
            = static_cast<std::uint32_t>(p[6] | (p[7] << 8) | (p[8] << 16) | (static_cast<std::uint32_t>(p[9]) << 24));
        book.insertDive(last);
    }

    const transfer::ComputerSettings settings = memory.settings();
    (void)transfer::infoTexts(settings, catalogue);
    const transfer::NewDives found = memory.searchNewDives(transfer::lastLogbookDive(book));
    if (found.any != (found.first >= 0) || found.first >= count)
        std::abort();
    const auto rows
        = transfer::transferRows(memory, found.first, transfer::firstTransferNumber(book), settings.imperialUnits);
    if (found.any && static_cast<int>(rows.size()) != count - found.first)
        std::abort();

    const int before = book.diveCount();
    for (int p = found.first; found.any && p < count; ++p) {
        const std::optional<transfer::ComputerDive> dive = memory.diveAt(p);
        if (!dive || !memory.convert(p, book))
            std::abort();
        if (dive->profile.byteCount > transfer::image::kProfileHeaderBytes + logbook::kProfileBytesCapacity)
            std::abort();
    }
    if (book.diveCount() != before + (found.any ? count - found.first : 0))
        std::abort();
    for (const logbook::DiveRecord &dive : book.dives())
        if (dive.sampleCount > logbook::kMaxSamples)
            std::abort();
    common::setClock(nullptr);
    return 0;
}
