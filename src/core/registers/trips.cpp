#include "registers/trips.h"

#include "common/cformat.h"
#include "common/translation.h"
#include "logbook/fieldcatalogue.h"

#include <algorithm>
#include <bit>
#include <tuple>

namespace zorv::registers {

using namespace trips;

namespace {

    const std::uint32_t kFormatMark = std::bit_cast<std::uint32_t>(2.0f);

    Trip readTrip(common::ByteReader &in, std::size_t remarksSize)
    {
        Trip trip;
        trip.firstDay = in.u32();
        trip.lastDay = in.u32();
        trip.firstDive = static_cast<std::int32_t>(in.u32());
        trip.lastDive = static_cast<std::int32_t>(in.u32());
        trip.destination = readText(in, kDestination);
        trip.remarks = readText(in, remarksSize);
        return trip;
    }

    std::uint32_t sortableDay(std::uint32_t day)
    {
        return logbook::isShownAsDate(day) ? day : UINT32_MAX;
    }

} // namespace

const std::array<ColumnSpec, kTripColumnCount> kTripColumns = { { { common::StringId::ColumnDate, 63 },
    { common::StringId::ColumnDestination, 228 }, { common::StringId::ColumnDive, 77 } } };

common::ResultOr<std::vector<Trip>> parseTrips(std::span<const std::uint8_t> bytes, const std::filesystem::path &name)
{
    std::vector<Trip> trips;
    if (bytes.empty())
        return trips;
    common::ByteReader in(bytes);
    const std::uint16_t count = in.u16();
    if (in.failed())
        return damagedFile(name);
    std::size_t recordSize = kLegacyRecordSize;
    std::size_t remarksSize = kLegacyRemarks;
    // The mark decides the layout; without it the records start right after the count.
    common::ByteReader probe(bytes.subspan(2));
    if (probe.u32() == kFormatMark && !probe.failed()) {
        (void)in.u32();
        recordSize = kRecordSize;
        remarksSize = kRemarks;
    }
    if (in.remaining() < std::size_t { count } * recordSize)
        return damagedFile(name);
    trips.reserve(count);
    for (int i = 0; i < count; ++i)
        trips.push_back(readTrip(in, remarksSize));
    return trips;
}

std::vector<std::uint8_t> tripBytes(const std::vector<Trip> &trips)
{
    std::vector<std::uint8_t> bytes;
    bytes.reserve(6 + trips.size() * kRecordSize);
    common::ByteWriter out(bytes);
    out.u16(static_cast<std::uint16_t>(trips.size()));
    out.u32(kFormatMark);
    for (const Trip &trip : trips) {
        out.u32(trip.firstDay);
        out.u32(trip.lastDay);
        out.u32(static_cast<std::uint32_t>(trip.firstDive));
        out.u32(static_cast<std::uint32_t>(trip.lastDive));
        writeText(out, trip.destination, kDestination);
        writeText(out, trip.remarks, kRemarks);
    }
    return bytes;
}

common::ResultOr<std::vector<Trip>> loadTrips(const std::filesystem::path &path)
{
    return loadRegister(path, parseTrips);
}

common::Result saveTrips(const std::filesystem::path &path, const std::vector<Trip> &trips)
{
    return saveRecordList(path, trips, common::tr("La liste des voyages compte trop de voyages."), tripBytes);
}

std::string tripCell(const Trip &trip, int column)
{
    switch (column) {
    case 0:
        return logbook::formatDate(trip.firstDay, logbook::DateForm::Medium);
    case 1:
        return toDisplay(trip.destination, Charset::Windows);
    case 2:
        return common::cformat("%05d-%05d", trip.firstDive, trip.lastDive);
    default:
        return {};
    }
}

void sortTrips(std::vector<Trip> &trips)
{
    std::stable_sort(trips.begin(), trips.end(), [](const Trip &a, const Trip &b) {
        return std::tuple(sortableDay(a.firstDay), std::string_view(a.destination))
            < std::tuple(sortableDay(b.firstDay), std::string_view(b.destination));
    });
}

std::optional<int> tripGoToPosition(const Trip &trip, int diveCount)
{
    if (trip.firstDive >= 1 && trip.firstDive <= diveCount)
        return trip.firstDive;
    return std::nullopt;
}

} // namespace zorv::registers
