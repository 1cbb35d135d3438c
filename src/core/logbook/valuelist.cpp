#include "logbook/valuelist.h"

#include "logbook/oemcharmap.h"

namespace zorv::logbook {

void ValueList::clear()
{
    m_entries.clear();
    m_index.clear();
    m_capacity = 0;
}

void ValueList::size(int diveCount)
{
    clear();
    m_capacity = (diveCount > 0 ? diveCount : 0) + 100;
    m_entries.reserve(static_cast<std::size_t>(m_capacity));
}

void ValueList::add(std::string_view storedText)
{
    if (storedText.empty() || count() >= m_capacity)
        return;
    // Plain ASCII other than the apostrophe reads the same in both forms; most
    // names are such, and a large logbook adds hundreds of thousands of them.
    bool plain = true;
    for (char c : storedText)
        plain = plain && static_cast<unsigned char>(c) < 0x80 && c != '\'';
    if (plain) {
        if (auto it = m_index.find(storedText); it != m_index.end()) {
            ++m_entries[static_cast<std::size_t>(it->second)].uses;
            return;
        }
    }
    std::string display = plain ? std::string(storedText) : storedToDisplay(storedText);
    if (auto it = m_index.find(display); it != m_index.end()) {
        ++m_entries[static_cast<std::size_t>(it->second)].uses;
        return;
    }
    m_index.emplace(display, count());
    m_entries.push_back({ std::move(display), 1 });
}

const std::string &ValueList::get(int index) const
{
    static const std::string empty;
    if (index < 0 || index >= count())
        return empty;
    return m_entries[static_cast<std::size_t>(index)].text;
}

int ValueList::useCount(int index) const
{
    if (index < 0 || index >= count())
        return 0;
    return m_entries[static_cast<std::size_t>(index)].uses;
}

} // namespace zorv::logbook
