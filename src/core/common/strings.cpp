#include "common/strings.h"

#include "common/stringtable.h"

#include <algorithm>

namespace {

using zorv::common::StringId;
using zorv::common::detail::kStringTable;
using zorv::common::detail::StringEntry;

constexpr bool strictlyAscending()
{
    for (std::size_t i = 1; i < kStringTable.size(); ++i)
        if (kStringTable[i - 1].id >= kStringTable[i].id)
            return false;
    return true;
}

// An entry out of order would not crash anything: the binary search would just
// never find it, and the user would see an empty message box.
static_assert(strictlyAscending(), "string table ids must be ascending and unique");

// May was added to the string table after the other months.
constexpr StringId kMonthIds[12] = { StringId::MonthJanuary, StringId::MonthFebruary, StringId::MonthMarch,
    StringId::MonthApril, StringId::MonthMay, StringId::MonthJune, StringId::MonthJuly, StringId::MonthAugust,
    StringId::MonthSeptember, StringId::MonthOctober, StringId::MonthNovember, StringId::MonthDecember };

const StringEntry *find(StringId id)
{
    auto it = std::lower_bound(kStringTable.begin(), kStringTable.end(), id,
        [](const StringEntry &entry, StringId wanted) { return entry.id < wanted; });
    return it != kStringTable.end() && it->id == id ? &*it : nullptr;
}

} // namespace

namespace zorv::common {

std::string_view str(StringId id)
{
    const StringEntry *entry = find(id);
    if (!entry)
        return {};
    return entry->frenchOffset ? trInContext(entry->key, entry->frenchOffset) : std::string_view(tr(entry->key));
}

std::string_view sourceStr(StringId id)
{
    const StringEntry *entry = find(id);
    return entry ? entry->french() : std::string_view {};
}

bool hasStr(StringId id)
{
    return find(id) != nullptr;
}

std::string_view monthName(int month)
{
    return month >= 1 && month <= 12 ? str(kMonthIds[month - 1]) : std::string_view {};
}

} // namespace zorv::common
