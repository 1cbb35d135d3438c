#include "registers/equipment.h"

#include "common/cformat.h"
#include "common/strings.h"
#include "common/translation.h"
#include "registers/registerfile.h"

#include <algorithm>
#include <array>
#include <tuple>

namespace zorv::registers {

using namespace equipment;

namespace {

    // The category names, in category order.
    constexpr std::array<common::StringId, kEquipmentCategoryCount> kCategoryNames = {
        common::StringId::EquipmentRegulator,
        common::StringId::EquipmentTank,
        common::StringId::EquipmentJacket,
        common::StringId::EquipmentComputer,
        common::StringId::EquipmentSuit,
        common::StringId::EquipmentNeoprene,
        common::StringId::EquipmentMaskFinsSnorkel,
        common::StringId::EquipmentOther,
    };

    std::uint8_t clampCategory(std::uint8_t category)
    {
        return category < kEquipmentCategoryCount ? category : kOtherCategory;
    }

    EquipmentItem readItem(common::ByteReader &in)
    {
        EquipmentItem item;
        item.category = clampCategory(in.u8());
        item.article = readText(in, kArticle);
        item.user = readText(in, kUser);
        item.vendorDate = readText(in, kVendorDate);
        item.part1 = readText(in, kPart);
        item.serialNumber = readText(in, kSerial);
        item.part2 = readText(in, kPart);
        item.serialNumber2 = readText(in, kSerial);
        item.details = readText(in, kDetails);
        item.lastServiceMonth = in.u16();
        item.lastServiceYear = in.u16();
        item.nextServiceMonth = in.u16();
        item.nextServiceYear = in.u16();
        item.price = readFloat(in);
        item.serviceCost = readFloat(in);
        item.remarks = readText(in, kRemarks);
        item.remind = in.u8() != 0;
        return item;
    }

    void writeItem(common::ByteWriter &out, const EquipmentItem &item)
    {
        out.u8(clampCategory(item.category));
        writeText(out, item.article, kArticle);
        writeText(out, item.user, kUser);
        writeText(out, item.vendorDate, kVendorDate);
        writeText(out, item.part1, kPart);
        writeText(out, item.serialNumber, kSerial);
        writeText(out, item.part2, kPart);
        writeText(out, item.serialNumber2, kSerial);
        writeText(out, item.details, kDetails);
        out.u16(item.lastServiceMonth);
        out.u16(item.lastServiceYear);
        out.u16(item.nextServiceMonth);
        out.u16(item.nextServiceYear);
        writeFloat(out, item.price);
        writeFloat(out, item.serviceCost);
        writeText(out, item.remarks, kRemarks);
        out.u8(item.remind ? 1 : 0);
    }

} // namespace

std::string_view equipmentCategoryName(std::uint8_t category)
{
    return common::str(kCategoryNames[clampCategory(category)]);
}

common::ResultOr<std::vector<EquipmentItem>> parseEquipment(
    std::span<const std::uint8_t> bytes, const std::filesystem::path &name)
{
    return parseRecordList<EquipmentItem>(bytes, name, kVersion, kItemSize, readItem);
}

std::vector<std::uint8_t> equipmentBytes(const std::vector<EquipmentItem> &items)
{
    return recordListBytes(items, kVersion, kItemSize, writeItem);
}

common::ResultOr<std::vector<EquipmentItem>> loadEquipment(const std::filesystem::path &path)
{
    return loadRegister(path, parseEquipment);
}

common::Result saveEquipment(const std::filesystem::path &path, const std::vector<EquipmentItem> &items)
{
    return saveRecordList(path, items, common::tr("La liste de matériel compte trop d'articles."), equipmentBytes);
}

bool isServiceDue(const EquipmentItem &item, int month, int year)
{
    if (!item.remind || item.nextServiceMonth == 0 || item.nextServiceYear == 0)
        return false;
    return year > item.nextServiceYear || (year == item.nextServiceYear && month >= item.nextServiceMonth);
}

bool equipmentFileHasDueItem(const std::filesystem::path &path, int month, int year)
{
    if (path.empty())
        return false;
    const auto items = loadEquipment(path);
    if (!items)
        return false; // the register reports a damaged file when it is opened
    return std::any_of(
        items->begin(), items->end(), [&](const EquipmentItem &item) { return isServiceDue(item, month, year); });
}

const std::array<ColumnSpec, kEquipmentColumnCount> kEquipmentColumns
    = { { { common::StringId::ColumnCategory, 80 }, { common::StringId::ColumnDescription, 180 },
        { common::StringId::ColumnUser, 100 }, { common::StringId::ColumnNextService, 80 } } };

std::string nextServiceText(const EquipmentItem &item, int month, int year)
{
    if (item.nextServiceYear == 0)
        return {};
    std::string text
        = common::cformat("%02u.%04u", unsigned { item.nextServiceMonth }, unsigned { item.nextServiceYear });
    if (isServiceDue(item, month, year))
        text += '*';
    return text;
}

std::string equipmentCell(const EquipmentItem &item, int column, int month, int year)
{
    switch (column) {
    case 0:
        return std::string(equipmentCategoryName(item.category));
    case 1:
        return toDisplay(item.article, Charset::Windows);
    case 2:
        return toDisplay(item.user, Charset::Windows);
    case 3:
        return nextServiceText(item, month, year);
    default:
        return {};
    }
}

void sortEquipment(std::vector<EquipmentItem> &items)
{
    std::stable_sort(items.begin(), items.end(), [](const EquipmentItem &a, const EquipmentItem &b) {
        return std::tuple(clampCategory(a.category), std::string_view(a.article), std::string_view(a.user))
            < std::tuple(clampCategory(b.category), std::string_view(b.article), std::string_view(b.user));
    });
}

std::vector<std::string> equipmentUsers(const std::vector<EquipmentItem> &items)
{
    std::vector<std::string> users;
    for (const EquipmentItem &item : items)
        if (std::find(users.begin(), users.end(), item.user) == users.end())
            users.push_back(item.user);
    return users;
}

CostSummary costSummary(const std::vector<EquipmentItem> &items, std::optional<std::string_view> user)
{
    CostSummary summary;
    for (const EquipmentItem &item : items) {
        if (user && item.user != *user)
            continue;
        for (CostLine *line : { &summary.categories[clampCategory(item.category)], &summary.total }) {
            line->count += 1;
            line->prices += item.price;
            line->services += item.serviceCost;
            line->total += item.price + item.serviceCost;
        }
    }
    return summary;
}

} // namespace zorv::registers
