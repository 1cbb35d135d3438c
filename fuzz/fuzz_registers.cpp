// Fuzzes the readers of the six register files; the first byte chooses the reader.
// Whatever a reader accepts must save and read back to the same bytes, and every
// list text and printed page must cope with it.
#include "canvas/recordingcanvas.h"
#include "registers/forecast.h"
#include "registers/registerprintouts.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <span>
#include <type_traits>
#include <vector>

namespace {

using namespace zorv::registers;

// The register the reader accepted, checked to save and read back unchanged; nothing when refused.
template <typename Parse, typename Write> auto roundTrip(std::span<const std::uint8_t> bytes, Parse parse, Write write)
{
    auto value = parse(bytes, "fuzz");
    using Value = std::remove_cvref_t<decltype(*value)>;
    if (!value)
        return std::optional<Value>();
    const std::vector<std::uint8_t> once = write(*value);
    auto again = parse(once, "fuzz");
    if (!again || write(*again) != once)
        std::abort(); // we refused or changed our own output
    return std::optional<Value>(std::move(*value));
}

void drawFirstPage(const ListPrintout &list)
{
    zorv::canvas::RecordingCanvas canvas;
    drawListPage(canvas, list, 1);
    drawListPage(canvas, list, listPageCount(list));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 1)
        return 0;
    const std::span<const std::uint8_t> bytes(data + 1, size - 1);
    switch (data[0] % 6) {
    case 0:
        if (const auto items = roundTrip(bytes, parseEquipment, equipmentBytes)) {
            for (const EquipmentItem &item : *items)
                for (int c = 0; c < kEquipmentColumnCount; ++c)
                    (void)equipmentCell(item, c, 6, 2005);
            (void)costSummary(*items, std::nullopt);
            drawFirstPage(equipmentPrintout(*items, 6, 2005, "EUR"));
        }
        break;
    case 1:
        if (const auto list = roundTrip(bytes, parseAddresses, addressBytes))
            drawFirstPage(addressPrintout(*list));
        break;
    case 2:
        if (const auto trips = roundTrip(bytes, parseTrips, tripBytes)) {
            for (const Trip &trip : *trips)
                (void)tripCell(trip, 0);
            drawFirstPage(tripPrintout(*trips));
        }
        break;
    case 3:
        if (const auto records = roundTrip(bytes, parseTeaching, teachingBytes))
            drawFirstPage(teachingPrintout(*records));
        break;
    case 4:
        if (const auto reg = roundTrip(bytes, parseCertificates, certificateBytes))
            drawFirstPage(certificatePrintout(*reg, "EUR"));
        break;
    default:
        if (const auto journal = roundTrip(bytes, parseJournal, journalBytes)) {
            (void)journalLines(*journal);
            (void)withoutForecast(*journal, 0);
        }
        break;
    }
    return 0;
}
