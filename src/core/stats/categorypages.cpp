#include "common/cformat.h"
#include "logbook/daynumber.h"
#include "logbook/names.h"
#include "logbook/oemcharmap.h"
#include "logbook/units.h"
#include "stats/pageinternal.h"
#include "stats/statisticspage.h"

#include <algorithm>
#include <cmath>

namespace zorv::stats {

using logbook::DiveRecord;
using logbook::kMissing;
using logbook::UnitSystem;
namespace dive_type = logbook::dive_type;
namespace extra_flags = logbook::extra_flags;

using namespace pageinternal;

namespace {

    constexpr unsigned kOtherActivitiesBin = 25;

    // Appends the bins one dive counts in on a category page.
    void categoryKeys(PageKind kind, const DiveRecord &dive, std::vector<unsigned> &keys)
    {
        keys.clear();
        switch (kind) {
        case PageKind::Suit:
            if (dive.suit >= 1 && dive.suit <= 6)
                keys.push_back(dive.suit);
            break;
        case PageKind::Weather:
            if (dive.weather >= 1 && dive.weather <= 6)
                keys.push_back(dive.weather);
            break;
        case PageKind::DiveType: {
            const std::uint16_t t = dive.diveType;
            constexpr std::array<std::pair<std::uint16_t, unsigned>, 8> kBits { {
                { dive_type::kNitrox, 1 },
                { dive_type::kNoDeco, 2 },
                { dive_type::kDeco, 3 },
                { dive_type::kSingleAscent, 4 },
                { dive_type::kMultipleAscents, 5 },
                { dive_type::kFreshWater, 6 },
                { dive_type::kSeaWater, 7 },
                { dive_type::kScr, 11 },
            } };
            for (const auto &[bit, key] : kBits)
                if (t & bit)
                    keys.push_back(key);
            if (!isFresh(dive) && !isSea(dive))
                keys.push_back(8);
            keys.push_back(dive.surfaceInterval == kMissing ? 9 : 10);
            std::sort(keys.begin(), keys.end());
            break;
        }
        case PageKind::Activity: {
            const std::string_view stored = logbook::fixedText(dive.otherActivities);
            const std::uint16_t flags = dive.extra.extraFlags;
            if (dive.activities == 0 && stored.empty() && (flags & 0x0FFF) == 0)
                break;
            for (unsigned bit = 0; bit < 12; ++bit)
                if (dive.activities & (1u << bit))
                    keys.push_back(bit + 1);
            const std::string text = stored.empty() ? std::string() : logbook::storedToDisplay(stored);
            for (int i = 0; i < 8; ++i) {
                const std::string_view longName = logbook::names::secondActivityLong(i);
                const std::string_view shortName = logbook::names::secondActivityShort(i);
                const bool named = !text.empty()
                    && ((!longName.empty() && text.find(longName) != std::string::npos)
                        || (!shortName.empty() && text.find(shortName) != std::string::npos));
                if ((flags & (1u << i)) || named)
                    keys.push_back(13 + static_cast<unsigned>(i));
            }
            for (unsigned bit = 8; bit < 12; ++bit)
                if (flags & (1u << bit))
                    keys.push_back(21 + (bit - 8));
            for (std::string_view word : splitNames(text)) {
                if (word.empty())
                    continue;
                bool known = false;
                for (int i = 0; i < 8 && !known; ++i)
                    known = word == logbook::names::secondActivityLong(i)
                        || word == logbook::names::secondActivityShort(i);
                if (!known)
                    keys.push_back(kOtherActivitiesBin);
            }
            break;
        }
        default:
            break;
        }
    }

} // namespace

std::vector<std::string_view> splitNames(std::string_view text)
{
    std::vector<std::string_view> names;
    auto trim = [](std::string_view s) {
        while (!s.empty() && s.front() == ' ')
            s.remove_prefix(1);
        while (!s.empty() && s.back() == ' ')
            s.remove_suffix(1);
        return s;
    };
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != ',' && text[i] != ';' && text[i] != '+' && text[i] != '&')
            continue;
        names.push_back(trim(text.substr(start, i - start)));
        start = i + 1;
    }
    return names;
}

void StatisticsPage::computeCategories(const logbook::Logbook &logbook)
{
    m_table.size(binCountOf(m_kind));
    m_suitModels.clear();
    const bool oneYear = options.yearMode == YearMode::OneYear;
    const ValueKind valueKind = options.valueKind;
    const bool counting = valueKind == ValueKind::Count || valueKind == ValueKind::Percent;
    std::vector<unsigned> keys;
    for (const DiveRecord &dive : logbook.dives()) {
        const std::optional<float> value = categoryValue(valueKind, dive, m_units);
        if (!value)
            continue;
        categoryKeys(m_kind, dive, keys);
        if (keys.empty())
            continue;
        if (oneYear) {
            const auto date = dateOf(dive);
            if (!date || date->year != options.selectedYear)
                continue;
            ++m_yearDiveCount;
        }
        const StatBin sample = sampleOf(dive, *value, valueKind != ValueKind::Consumption);
        for (unsigned key : keys)
            m_table.add(key, sample);
        if (m_kind == PageKind::Suit) {
            const std::string_view model = logbook::fixedText(dive.extra.model);
            if (!model.empty()) {
                std::string shown = logbook::storedToDisplay(model);
                if (std::find(m_suitModels.begin(), m_suitModels.end(), shown) == m_suitModels.end())
                    m_suitModels.push_back(std::move(shown));
            }
        }
    }
    if (counting) {
        m_table.scale = countScale(m_table);
    } else {
        const int step = valueKind == ValueKind::Consumption && m_units == UnitSystem::Imperial ? 1 : 10;
        m_table.finishCategory(options.aggregate, step);
    }
}

} // namespace zorv::stats
