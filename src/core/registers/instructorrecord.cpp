#include "registers/instructorrecord.h"

#include "common/translation.h"
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
    return parseRecordList<TeachingActivity>(bytes, name, kVersion, kRecordSize, [](common::ByteReader &in) {
        TeachingActivity r;
        r.activity = readText(in, kActivity);
        r.firstDay = in.u32();
        r.lastDay = in.u32();
        r.theoryHours = static_cast<std::int32_t>(in.u32());
        r.practiceHours = static_cast<std::int32_t>(in.u32());
        r.persons = static_cast<std::int32_t>(in.u32());
        r.remarks = readText(in, kRemarks);
        return r;
    });
}

std::vector<std::uint8_t> teachingBytes(const std::vector<TeachingActivity> &records)
{
    return recordListBytes(records, kVersion, kRecordSize, [](common::ByteWriter &out, const TeachingActivity &r) {
        writeText(out, r.activity, kActivity);
        out.u32(r.firstDay);
        out.u32(r.lastDay);
        out.u32(static_cast<std::uint32_t>(r.theoryHours));
        out.u32(static_cast<std::uint32_t>(r.practiceHours));
        out.u32(static_cast<std::uint32_t>(r.persons));
        writeText(out, r.remarks, kRemarks);
    });
}

common::ResultOr<std::vector<TeachingActivity>> loadTeaching(const std::filesystem::path &path)
{
    return loadRegister(path, parseTeaching);
}

common::Result saveTeaching(const std::filesystem::path &path, const std::vector<TeachingActivity> &records)
{
    return saveRecordList(path, records, common::tr("Le suivi compte trop d'activités."), teachingBytes);
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
