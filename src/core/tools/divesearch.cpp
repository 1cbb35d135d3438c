#include "tools/divesearch.h"

#include "common/cformat.h"
#include "common/strings.h"
#include "common/translation.h"
#include "logbook/daynumber.h"
#include "logbook/fieldcatalogue.h"
#include "logbook/logbookfile.h"
#include "logbook/names.h"
#include "logbook/oemcharmap.h"
#include "logbook/secondactivities.h"

#include <algorithm>

namespace zorv::tools {

using common::StringId;

using logbook::DiveRecord;
using logbook::fixedText;
using logbook::kMissing;
using logbook::Logbook;

namespace {
    constexpr int kFirstSecondSetActivity = 12;
    constexpr int kSecondSetEntries = 7;
    constexpr std::size_t kModelCapacity = 24;

    bool contains(std::string_view text, std::string_view part)
    {
        return text.find(part) != std::string_view::npos;
    }

    std::string notFoundMessage(const QuickSearch &search, SearchDirection direction)
    {
        const bool first = direction == SearchDirection::FromStart;
        if (search.field == QuickSearch::kActivity)
            return std::string(common::str(first ? StringId::SearchActivityNotFound : StringId::SearchNotFound));
        const std::string shown = logbook::storedToDisplay(search.text);
        return common::cformat(
            std::string(common::str(first ? StringId::SearchTextNotFound : StringId::SearchDataNotFound)).c_str(),
            shown.c_str());
    }

    // One criterion's outcome: not set, holds, fails.
    enum class Test {
        Unset,
        Holds,
        Fails,
    };

    Test test(bool set, bool holds)
    {
        if (!set)
            return Test::Unset;
        return holds ? Test::Holds : Test::Fails;
    }

    // A range whose value is missing fails; a bound of 0 is not set.
    template <typename T> Test rangeTest(T from, T to, T value, bool known)
    {
        const bool set = from != T {} || to != T {};
        if (!set)
            return Test::Unset;
        if (!known)
            return Test::Fails;
        return test(true, (from == T {} || value >= from) && (to == T {} || value <= to));
    }

    template <typename F>
    void forEachCriterion(const Logbook &logbook, const DiveRecord &d, const SearchCriteria &c, F f)
    {
        const bool dated = logbook::isShownAsDate(d.date);
        if (!f(rangeTest<std::uint32_t>(c.dateFrom, c.dateTo, d.date, dated)))
            return;
        if (!f(test(!c.place.empty(), fixedText(d.place) == c.place)))
            return;
        if (!f(test(!c.site.empty(), fixedText(d.site) == c.site)))
            return;
        const int depth = logbook::FieldCatalogue::shownMaxDepth(d);
        if (!f(rangeTest(c.depthFrom, c.depthTo, depth, depth != kMissing && depth >= 0)))
            return;
        if (!f(test(c.altitudeClass != 0, d.altitudeClass == c.altitudeClass)))
            return;
        if (!f(test(c.weather != 0, d.weather == c.weather)))
            return;
        if (!f(test(c.suit != 0, d.suit == c.suit)))
            return;
        if (!f(rangeTest<int>(c.durationFrom, c.durationTo, d.duration, d.duration != kMissing)))
            return;
        if (!f(rangeTest(c.consumptionFrom, c.consumptionTo, d.airConsumption, d.airConsumption != 0.0f)))
            return;
        if (!f(test(c.tankVolume != 0, d.tankVolume != kMissing && d.tankVolume == c.tankVolume)))
            return;
        if (!f(test(!c.partner.empty(), contains(fixedText(d.partners), c.partner))))
            return;
        if (!f(test(c.diveTypeBits != 0, (d.diveType & c.diveTypeBits) == c.diveTypeBits)))
            return;
        if (!f(test(c.activityBits != 0, (d.activities & c.activityBits) == c.activityBits)))
            return;
        if (!f(test(c.secondActivityBits != 0,
                (logbook::secondActivities(d, logbook.mode()) & c.secondActivityBits) == c.secondActivityBits)))
            return;
        f(test(!c.otherActivities.empty(), contains(fixedText(d.otherActivities), c.otherActivities)));
    }

    void storeField(DiveRecord &d, ReplaceField field, const std::string &text)
    {
        switch (field) {
        case ReplaceField::Place:
            logbook::setFixedText(d.place, text, logbook::kPlaceLength);
            break;
        case ReplaceField::Site:
            logbook::setFixedText(d.site, text, logbook::kSiteLength);
            break;
        case ReplaceField::Partners:
            logbook::setFixedText(d.partners, text, logbook::kPartnersLength);
            break;
        case ReplaceField::Comment: {
            const std::string_view all(text);
            logbook::setFixedText(d.comment, all.substr(0, logbook::kCommentLength), logbook::kCommentLength);
            logbook::setFixedText(d.extra.commentMore,
                all.size() > logbook::kCommentLength ? all.substr(logbook::kCommentLength) : std::string_view {},
                logbook::kCommentMoreLength);
            break;
        }
        case ReplaceField::SuitModel:
            logbook::setFixedText(d.extra.model, text, kModelCapacity);
            break;
        }
    }

} // namespace

bool matchQuick(const DiveRecord &dive, const QuickSearch &search)
{
    switch (search.field) {
    case QuickSearch::kPlace:
        return fixedText(dive.place) == search.text;
    case QuickSearch::kSite:
        return fixedText(dive.site) == search.text;
    case QuickSearch::kPartner:
        return contains(fixedText(dive.partners), search.text);
    case QuickSearch::kActivity:
        break;
    default:
        return false;
    }
    if (search.activity == QuickSearch::kOtherActivity)
        return contains(fixedText(dive.otherActivities), search.text);
    if (search.activity >= kFirstSecondSetActivity && search.activity < kFirstSecondSetActivity + kSecondSetEntries) {
        const std::string shown = logbook::storedToDisplay(fixedText(dive.otherActivities));
        const int entry = search.activity - kFirstSecondSetActivity;
        const std::string_view longName = logbook::names::secondActivityLong(entry);
        const std::string_view shortName = logbook::names::secondActivityShort(entry);
        return (!longName.empty() && contains(shown, longName)) || (!shortName.empty() && contains(shown, shortName));
    }
    if (search.activity >= 0 && search.activity < kFirstSecondSetActivity)
        return (dive.activities & (1u << search.activity)) != 0;
    return false;
}

common::ResultOr<int> findQuick(const Logbook &logbook, const QuickSearch &search, SearchDirection direction, int from)
{
    const int n = logbook.diveCount();
    if (n == 0 || search.field == QuickSearch::kNone)
        return common::Result::failure(common::Status::NotFound, {});
    const auto &dives = logbook.dives();
    auto at = [&dives](int p) -> const DiveRecord & { return dives[static_cast<std::size_t>(p - 1)]; };
    if (direction == SearchDirection::Backward) {
        for (int p = std::min(from, n + 1) - 1; p >= 1; --p)
            if (matchQuick(at(p), search))
                return p;
    } else {
        const int start = direction == SearchDirection::FromStart ? 1 : std::max(from, 0) + 1;
        for (int p = start; p <= n; ++p)
            if (matchQuick(at(p), search))
                return p;
    }
    return common::Result::failure(common::Status::NotFound, notFoundMessage(search, direction));
}

bool SearchCriteria::anySet() const
{
    return dateFrom || dateTo || !place.empty() || !site.empty() || depthFrom || depthTo || altitudeClass || weather
        || suit || durationFrom || durationTo || consumptionFrom != 0.0f || consumptionTo != 0.0f || tankVolume
        || !partner.empty() || diveTypeBits || activityBits || secondActivityBits || !otherActivities.empty();
}

bool matchAll(const Logbook &logbook, const DiveRecord &dive, const SearchCriteria &criteria)
{
    bool anySet = false;
    bool all = true;
    forEachCriterion(logbook, dive, criteria, [&](Test t) {
        if (t == Test::Unset)
            return true;
        anySet = true;
        all = t == Test::Holds;
        return all;
    });
    return anySet && all;
}

bool matchAny(const Logbook &logbook, const DiveRecord &dive, const SearchCriteria &criteria)
{
    bool any = false;
    forEachCriterion(logbook, dive, criteria, [&](Test t) {
        any = t == Test::Holds;
        return !any;
    });
    return any;
}

bool matchCriteria(const Logbook &logbook, const DiveRecord &dive, const SearchCriteria &criteria)
{
    return criteria.mode == CriteriaMode::And ? matchAll(logbook, dive, criteria) : matchAny(logbook, dive, criteria);
}

std::vector<int> findDives(const Logbook &logbook, const SearchCriteria &criteria)
{
    std::vector<int> found;
    if (!criteria.anySet())
        return found;
    int p = 0;
    for (const DiveRecord &d : logbook.dives()) {
        ++p;
        if (matchCriteria(logbook, d, criteria))
            found.push_back(p);
    }
    return found;
}

std::string selectionLine(const Logbook &logbook, int position)
{
    const DiveRecord *d = logbook.dive(position);
    if (!d)
        return {};
    const std::string date = logbook::formatDate(d->date, logbook::DateForm::Short);
    const std::string place = logbook::storedToDisplay(fixedText(d->place));
    const std::string site = logbook::storedToDisplay(fixedText(d->site));
    if (site.empty())
        return common::cformat("%05d\t%-8s\t%s", d->diveNumber, date.c_str(), place.c_str());
    return common::cformat("%05d\t%-8s\t%s, %s", d->diveNumber, date.c_str(), place.c_str(), site.c_str());
}

std::size_t fieldCapacity(ReplaceField field)
{
    switch (field) {
    case ReplaceField::Place:
        return logbook::kPlaceLength;
    case ReplaceField::Site:
        return logbook::kSiteLength;
    case ReplaceField::Partners:
        return logbook::kPartnersLength;
    case ReplaceField::Comment:
        return logbook::kCommentLength + logbook::kCommentMoreLength;
    case ReplaceField::SuitModel:
        return kModelCapacity;
    }
    return 0;
}

std::string fieldText(const DiveRecord &dive, ReplaceField field)
{
    switch (field) {
    case ReplaceField::Place:
        return std::string(fixedText(dive.place));
    case ReplaceField::Site:
        return std::string(fixedText(dive.site));
    case ReplaceField::Partners:
        return std::string(fixedText(dive.partners));
    case ReplaceField::Comment:
        return std::string(fixedText(dive.comment)) + std::string(fixedText(dive.extra.commentMore));
    case ReplaceField::SuitModel:
        return std::string(fixedText(dive.extra.model));
    }
    return {};
}

std::string replaceFirst(std::string_view text, std::string_view find, std::string_view replacement)
{
    if (text == find)
        return std::string(replacement);
    const std::size_t at = find.empty() ? std::string_view::npos : text.find(find);
    if (at == std::string_view::npos)
        return std::string(text);
    std::string out(text.substr(0, at));
    out += replacement;
    out += text.substr(at + find.size());
    return out;
}

std::vector<Replacement> findReplacements(
    const Logbook &logbook, ReplaceField field, std::string_view find, std::string_view replacement)
{
    std::vector<Replacement> found;
    if (find.empty())
        return found;
    const std::size_t capacity = fieldCapacity(field);
    int p = 0;
    for (const DiveRecord &d : logbook.dives()) {
        ++p;
        std::string before = fieldText(d, field);
        if (before.find(find) == std::string::npos)
            continue;
        Replacement r;
        r.position = p;
        r.after = replaceFirst(before, find, replacement);
        if (r.after.size() > capacity) {
            r.after.resize(capacity);
            r.cut = true;
        }
        r.before = std::move(before);
        found.push_back(std::move(r));
    }
    return found;
}

std::pair<std::string, std::string> replacementLines(const Logbook &logbook, const Replacement &r)
{
    return { common::cformat("%05d\t%s", logbook.diveNumberAt(r.position), logbook::storedToDisplay(r.before).c_str()),
        "->\t" + logbook::storedToDisplay(r.after) };
}

ToolResult replaceAll(Logbook &logbook, ReplaceField field, std::string_view find, std::string_view replacement)
{
    ToolChange change;
    const std::vector<Replacement> found = findReplacements(logbook, field, find, replacement);
    if (found.empty())
        return change;
    std::size_t next = 0;
    change.positions = logbook.editDives(found.front().position, found.back().position, [&](int p, DiveRecord &d) {
        if (next >= found.size() || found[next].position != p)
            return false;
        const Replacement &r = found[next++];
        if (r.after == r.before)
            return false;
        storeField(d, field, r.after);
        change.cut += r.cut ? 1 : 0;
        return true;
    });
    change.changed = static_cast<int>(change.positions.size());
    if (change.cut > 0)
        change.message
            = common::cformat(change.cut == 1 ? common::tr("%d texte trop long a été coupé à la taille du champ")
                                              : common::tr("%d textes trop longs ont été coupés à la taille du champ"),
                change.cut);
    return change;
}

common::Result saveSelection(const Logbook &logbook, const std::string &path, const std::vector<int> &positions)
{
    std::vector<bool> chosen(static_cast<std::size_t>(logbook.diveCount()) + 1, false);
    for (const int p : positions)
        if (p >= 1 && p <= logbook.diveCount())
            chosen[static_cast<std::size_t>(p)] = true;
    return logbook::LogbookFile::saveSelection(
        logbook, path, [&chosen](int position) { return chosen[static_cast<std::size_t>(position)]; });
}

} // namespace zorv::tools
