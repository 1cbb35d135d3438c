#include "logbook/secondactivities.h"

#include "logbook/names.h"
#include "logbook/oemcharmap.h"

#include <array>
#include <string>

namespace zorv::logbook {

namespace {

    constexpr int kSecondSetSize = names::kSecondActivityCount;

    struct SecondSetNames {
        std::array<std::string, kSecondSetSize> longNames;
        std::array<std::string, kSecondSetSize> shortNames;
    };

    // The names come from the string table, which is filled at start-up and never
    // changes during a run; building them once keeps list building of large logbooks fast.
    const SecondSetNames &secondSetNames()
    {
        static const SecondSetNames stored = [] {
            SecondSetNames built;
            for (int i = 0; i < kSecondSetSize; ++i) {
                const auto k = static_cast<std::size_t>(i);
                built.longNames[k] = displayToStored(names::storedSecondActivityLong(i));
                built.shortNames[k] = displayToStored(names::storedSecondActivityShort(i));
            }
            return built;
        }();
        return stored;
    }

    bool isSeparator(char c)
    {
        return c == ',' || c == ';' || c == '+' || c == '&';
    }

} // namespace

bool isSecondActivityName(std::string_view entry)
{
    const SecondSetNames &names = secondSetNames();
    for (std::size_t k = 0; k < names.longNames.size(); ++k)
        if (entry == names.longNames[k] || entry == names.shortNames[k])
            return true;
    return false;
}

std::vector<std::string_view> splitEntries(std::string_view text)
{
    std::vector<std::string_view> entries;
    std::size_t start = 0;
    auto finish = [&](std::size_t end) {
        std::size_t e = end;
        while (e > start && text[e - 1] == ' ')
            --e;
        entries.push_back(text.substr(start, e - start));
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!isSeparator(text[i]))
            continue;
        finish(i);
        start = i + 1;
        if (start < text.size() && text[start] == ' ')
            ++start;
        i = start - 1;
    }
    finish(text.size());
    return entries;
}

std::uint8_t secondActivities(const DiveRecord &record, Mode mode)
{
    if (mode == Mode::Advanced)
        return static_cast<std::uint8_t>(record.extra.extraFlags & extra_flags::kSecondSetMask);
    const SecondSetNames &secondSet = secondSetNames();
    const std::string_view text = fixedText(record.otherActivities);
    std::uint8_t set = 0;
    for (int i = 0; i < kSecondSetSize; ++i) {
        const auto k = static_cast<std::size_t>(i);
        const std::string &longName = secondSet.longNames[k];
        const std::string &shortName = secondSet.shortNames[k];
        if ((!longName.empty() && text.find(longName) != std::string_view::npos)
            || (!shortName.empty() && text.find(shortName) != std::string_view::npos))
            set = static_cast<std::uint8_t>(set | (1u << i));
    }
    return set;
}

void setSecondActivities(DiveRecord &record, Mode mode, std::uint8_t set, bool shortNames)
{
    if (mode == Mode::Advanced) {
        record.extra.extraFlags
            = static_cast<std::uint16_t>((record.extra.extraFlags & ~extra_flags::kSecondSetMask) | set);
        return;
    }

    // The names written last time are taken out first, so that a cleared box
    // removes its name and writing the same set twice does not repeat it. The
    // user's own words stay; their text is only rebuilt when a name was removed.
    const SecondSetNames &secondSet = secondSetNames();
    const std::string_view original = fixedText(record.otherActivities);
    std::string text;
    bool removed = false;
    for (std::string_view entry : splitEntries(original)) {
        if (isSecondActivityName(entry)) {
            removed = true;
            continue;
        }
        if (entry.empty())
            continue;
        if (!text.empty())
            text += ", ";
        text += entry;
    }
    if (!removed)
        text = original;

    for (int i = 0; i < kSecondSetSize; ++i) {
        if (!(set & (1u << i)))
            continue;
        const auto k = static_cast<std::size_t>(i);
        const std::string &name = shortNames ? secondSet.shortNames[k] : secondSet.longNames[k];
        if (text.empty()) {
            if (name.size() <= kOtherActivitiesLength)
                text = name;
        } else if (text.size() + 2 + name.size() <= kOtherActivitiesLength) {
            text += ", " + name;
        } else if (text.size() + 1 + name.size() <= kOtherActivitiesLength) {
            text += "," + name;
        }
    }
    setFixedText(record.otherActivities, text);
}

} // namespace zorv::logbook
