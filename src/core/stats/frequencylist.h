// How often the diver dived at each place (and its sites) or with each partner (and at which places).
#pragma once

#include "logbook/logbook.h"

#include <string>
#include <vector>

namespace zorv::stats {

enum class FrequencyKind {
    Sites, // places, each with its sites
    Partners, // partners, each with the places dived together
};

inline constexpr int kMaxSubEntries = 50;

// Names are kept in Windows-1252, the character set the sorting rule is made
// for; callers convert them for display.
struct FrequencySubEntry {
    std::string name;
    unsigned count = 0;
};

struct FrequencyEntry {
    std::string name;
    unsigned count = 0;
    std::vector<FrequencySubEntry> subEntries; // at most kMaxSubEntries
};

enum class FrequencySort {
    None, // order of first appearance
    ByName,
    ByCount,
};

// Name order: a plain byte comparison, except that a leading umlaut or sharp s
// sorts as its two-letter spelling ("Ö" as "Oe").
bool nameLess(std::string_view a, std::string_view b);

class FrequencyList {
public:
    explicit FrequencyList(FrequencyKind kind)
        : m_kind(kind)
    {
    }

    FrequencyKind kind() const { return m_kind; }
    // yearOnly 0 counts every dive; otherwise only the dives of that year.
    void compute(const logbook::Logbook &logbook, int yearOnly = 0);
    void sort(FrequencySort order);
    FrequencySort sortOrder() const { return m_sort; }

    const std::vector<FrequencyEntry> &entries() const { return m_entries; }
    // The number of sub-entries created over all entries ("Site(s)").
    int subEntryTotal() const { return m_subEntryTotal; }

private:
    FrequencyKind m_kind;
    std::vector<FrequencyEntry> m_entries;
    int m_subEntryTotal = 0;
    FrequencySort m_sort = FrequencySort::None;
};

} // namespace zorv::stats
