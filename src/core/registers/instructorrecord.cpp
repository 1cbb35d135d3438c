#include "registers/instructorrecord.h"

#include "logbook/fieldcatalogue.h"

#include <algorithm>
#include <tuple>

namespace zorv::registers {

using namespace teaching;

const std::array<ColumnSpec, kTeachingColumnCount> kTeachingColumns
    = { { { common::StringId::ColumnDate, 70 }, { common::StringId::ColumnFunction, 312 } } };

common::ResultOr<std::vector<TeachingActivity>> parseTeaching(
    std::span<const std::uint8_t> bytes, const std::filesystem::path &name)
{
    std::vector<TeachingActivity> records;
    if (bytes.empty())
        return records;
    common::ByteReader in(bytes);
    const std::uint16_t version = in.u16();
    const std::uint16_t count = in.u16();
    if (in.failed())
        return damagedFile(name);
    if (version != kVersion)
        return unknownVersion(name, version);
    if (in.remaining() < std::size_t { count } * kRecordSize)
        return damagedFile(name);
    records.resize(count);
    for (TeachingActivity &r : records) {
        r.activity = readText(in, kActivity);
        r.firstDay = in.u32();
        r.lastDay = in.u32();
        r.theoryHours = static_cast<std::int32_t>(in.u32());
        r.practiceHours = static_cast<std::int32_t>(in.u32());
        r.persons = static_cast<std::int32_t>(in.u32());
        r.remarks = readText(in, kRemarks);
    }
    return records;
}

std::vector<std::uint8_t> teachingBytes(const std::vector<TeachingActivity> &records)
{
    std::vector<std::uint8_t> bytes;
    bytes.reserve(4 + records.size() * kRecordSize);
    common::ByteWriter out(bytes);
    out.u16(kVersion);
    out.u16(static_cast<std::uint16_t>(records.size()));
    for (const TeachingActivity &r : records) {
        writeText(out, r.activity, kActivity);
        out.u32(r.firstDay);
        out.u32(r.lastDay);
        out.u32(static_cast<std::uint32_t>(r.theoryHours));
        out.u32(static_cast<std::uint32_t>(r.practiceHours));
        out.u32(static_cast<std::uint32_t>(r.persons));
        writeText(out, r.remarks, kRemarks);
    }
    return bytes;
}

common::ResultOr<std::vector<TeachingActivity>> loadTeaching(const std::filesystem::path &path)
{
    auto bytes = readRegisterFile(path);
    if (!bytes)
        return bytes.result();
    return parseTeaching(bytes->data, path);
}

common::Result saveTeaching(const std::filesystem::path &path, const std::vector<TeachingActivity> &records)
{
    if (records.size() > 0xFFFF)
        return common::Result::failure(common::Status::Refused, "Le suivi compte trop d'activités.");
    return saveRegisterFile(path, teachingBytes(records));
}

std::string teachingCell(const TeachingActivity &record, int column)
{
    if (column == 0)
        return logbook::formatDate(record.firstDay, logbook::DateForm::Medium);
    if (column == 1)
        return toDisplay(record.activity, Charset::Windows);
    return {};
}

TeachingTotals teachingTotals(const std::vector<TeachingActivity> &records)
{
    TeachingTotals totals;
    for (const TeachingActivity &r : records) {
        totals.theory += r.theoryHours;
        totals.practice += r.practiceHours;
        totals.persons += r.persons;
    }
    return totals;
}

void sortTeaching(std::vector<TeachingActivity> &records)
{
    const auto key = [](const TeachingActivity &r) {
        return std::tuple(logbook::isShownAsDate(r.firstDay) ? r.firstDay : UINT32_MAX, std::string_view(r.activity));
    };
    std::stable_sort(records.begin(), records.end(),
        [&](const TeachingActivity &a, const TeachingActivity &b) { return key(a) < key(b); });
}

} // namespace zorv::registers
