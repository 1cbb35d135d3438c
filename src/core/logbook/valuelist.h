// A suggestion list for a combo box: distinct texts with a use count each.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zorv::logbook {

// Texts are held in display form (UTF-8). The capacity is fixed when the list
// is sized; a full list silently drops new texts.
class ValueList {
public:
    void clear();
    void size(int diveCount); // capacity diveCount + 100, all entries empty
    // Takes a text in stored (OEM) form and keeps it in display form.
    void add(std::string_view storedText);
    const std::string &get(int index) const; // empty beyond the count
    int useCount(int index) const;
    int count() const { return static_cast<int>(m_entries.size()); }
    int capacity() const { return m_capacity; }

private:
    struct Entry {
        std::string text;
        int uses = 0;
    };
    std::vector<Entry> m_entries;
    // Display text -> entry index, so that filling the lists of a large logbook
    // does not compare every text with every entry.
    // Transparent, so that a text can be looked up without building a string.
    struct TextHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const { return std::hash<std::string_view> {}(text); }
    };
    std::unordered_map<std::string, int, TextHash, std::equal_to<>> m_index;
    int m_capacity = 0;
};

} // namespace zorv::logbook
