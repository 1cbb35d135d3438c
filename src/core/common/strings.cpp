#include "common/strings.h"

#include "common/stringtable.h"

#include <algorithm>

namespace {

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

const StringEntry *find(int id)
{
    auto it = std::lower_bound(kStringTable.begin(), kStringTable.end(), id,
        [](const StringEntry &entry, int wanted) { return entry.id < wanted; });
    return it != kStringTable.end() && it->id == id ? &*it : nullptr;
}

} // namespace

namespace zorv::common {

std::string_view str(int id)
{
    const StringEntry *entry = find(id);
    return entry ? entry->text : std::string_view {};
}

bool hasStr(int id)
{
    return find(id) != nullptr;
}

} // namespace zorv::common
