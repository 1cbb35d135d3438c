#include "stats/frequencylist.h"

#include "logbook/daynumber.h"
#include "logbook/oemcharmap.h"
#include "stats/statisticspage.h"

#include <algorithm>
#include <unordered_map>

namespace zorv::stats {

namespace {

    constexpr std::size_t kPlaceChars = 60;
    constexpr std::size_t kPartnerChars = 48;

    // The Windows-1252 umlauts and sharp s, and the two letters each sorts as.
    std::string foldFirst(std::string_view name)
    {
        static constexpr unsigned char kUmlauts[] = { 228, 246, 252, 196, 214, 220, 223 };
        static constexpr char kFirst[] = "aouAOUs";
        static constexpr char kSecond[] = "eeeeees";
        std::string folded(name);
        if (name.empty())
            return folded;
        const auto first = static_cast<unsigned char>(name[0]);
        for (std::size_t i = 0; i < sizeof kUmlauts; ++i)
            if (first == kUmlauts[i]) {
                folded[0] = kFirst[i];
                folded.insert(folded.begin() + 1, kSecond[i]);
                break;
            }
        return folded;
    }

    bool bytesLess(std::string_view a, std::string_view b)
    {
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
            [](char x, char y) { return static_cast<unsigned char>(x) < static_cast<unsigned char>(y); });
    }

    void addSub(FrequencyEntry &entry, std::string_view subName, int &total)
    {
        for (FrequencySubEntry &sub : entry.subEntries)
            if (sub.name == subName) {
                ++sub.count;
                return;
            }
        if (entry.subEntries.size() >= static_cast<std::size_t>(kMaxSubEntries))
            return;
        entry.subEntries.push_back({ std::string(subName), 1 });
        ++total;
    }

} // namespace

bool nameLess(std::string_view a, std::string_view b)
{
    const bool plain = !a.empty() && !b.empty() && static_cast<unsigned char>(a[0]) <= 122
        && static_cast<unsigned char>(b[0]) <= 122;
    if (plain || a.empty() || b.empty())
        return bytesLess(a, b);
    return bytesLess(foldFirst(a), foldFirst(b));
}

void FrequencyList::compute(const logbook::Logbook &logbook, int yearOnly)
{
    m_entries.clear();
    m_subEntryTotal = 0;
    m_sort = FrequencySort::None;
    // Equal names are found by a hash of the name instead of the linear search
    // over all entries, which grows quadratic on large logbooks.
    std::unordered_map<std::string, std::size_t> indexOf;
    std::vector<std::string> keys;
    for (const logbook::DiveRecord &dive : logbook.dives()) {
        if (yearOnly != 0) {
            if (!logbook::isShownAsDate(dive.date) || logbook::calendarDate(dive.date).year != yearOnly)
                continue;
        }
        const std::string place = logbook::oemToAnsi(logbook::fixedText(dive.place).substr(0, kPlaceChars));
        keys.clear();
        std::string subKey;
        if (m_kind == FrequencyKind::Sites) {
            keys.push_back(place);
            subKey = logbook::oemToAnsi(logbook::fixedText(dive.site));
        } else {
            for (std::string_view name : splitNames(logbook::fixedText(dive.partners)))
                keys.push_back(logbook::oemToAnsi(name.substr(0, kPartnerChars)));
            subKey = place;
        }
        for (const std::string &key : keys) {
            auto [it, inserted] = indexOf.try_emplace(key, m_entries.size());
            if (inserted)
                m_entries.push_back({ key, 0, {} });
            FrequencyEntry &entry = m_entries[it->second];
            ++entry.count;
            addSub(entry, subKey, m_subEntryTotal);
        }
    }
}

void FrequencyList::sort(FrequencySort order)
{
    m_sort = order;
    if (order == FrequencySort::ByName) {
        std::stable_sort(m_entries.begin(), m_entries.end(),
            [](const FrequencyEntry &a, const FrequencyEntry &b) { return nameLess(a.name, b.name); });
        for (FrequencyEntry &e : m_entries)
            std::stable_sort(e.subEntries.begin(), e.subEntries.end(),
                [](const FrequencySubEntry &a, const FrequencySubEntry &b) { return nameLess(a.name, b.name); });
    } else if (order == FrequencySort::ByCount) {
        std::stable_sort(m_entries.begin(), m_entries.end(),
            [](const FrequencyEntry &a, const FrequencyEntry &b) { return a.count > b.count; });
        for (FrequencyEntry &e : m_entries)
            std::stable_sort(e.subEntries.begin(), e.subEntries.end(),
                [](const FrequencySubEntry &a, const FrequencySubEntry &b) { return a.count > b.count; });
    }
}

} // namespace zorv::stats
