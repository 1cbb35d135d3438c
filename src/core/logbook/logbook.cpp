#include "logbook/logbook.h"

#include "common/cformat.h"
#include "common/clock.h"
#include "common/strings.h"
#include "logbook/daynumber.h"
#include "logbook/names.h"
#include "logbook/newdive.h"
#include "logbook/oemcharmap.h"

#include <algorithm>
#include <filesystem>
#include <string_view>
#include <utility>

namespace zorv::logbook {

namespace {

    constexpr int kStrDefaultPath = 62588;
    constexpr int kStrConfirmDeleteCurrent = 62589;
    constexpr int kStrConfirmDelete = 62590;
    constexpr int kSecondSetSize = names::kSecondActivityCount;

    // The file header keeps the dive count in a signed 16-bit field.
    constexpr int kMaxDives = 32767;

    struct SecondSetNames {
        std::array<std::string, kSecondSetSize> longNames;
        std::array<std::string, kSecondSetSize> shortNames;

        bool isName(std::string_view entry) const
        {
            for (int i = 0; i < kSecondSetSize; ++i) {
                const auto k = static_cast<std::size_t>(i);
                if (entry == longNames[k] || entry == shortNames[k])
                    return true;
            }
            return false;
        }
    };

    // The names come from the string table, which never changes during a run;
    // building them once keeps list rebuilding of large logbooks fast.
    const SecondSetNames &secondSetNames()
    {
        static const SecondSetNames stored = [] {
            SecondSetNames built;
            for (int i = 0; i < kSecondSetSize; ++i) {
                const auto k = static_cast<std::size_t>(i);
                built.longNames[k] = displayToStored(names::secondActivityLong(i));
                built.shortNames[k] = displayToStored(names::secondActivityShort(i));
            }
            return built;
        }();
        return stored;
    }

    bool isSeparator(char c)
    {
        return c == ',' || c == ';' || c == '+' || c == '&';
    }

    // Splits a names text at , ; + & into entries: one blank after a separator is
    // dropped, trailing blanks of each entry are cut. Empty entries are kept; the
    // lists ignore them.
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

    std::string tankVolumeText(std::int16_t tankVolume, UnitSystem units)
    {
        if (tankVolume == kMissing)
            return {};
        const float litres = static_cast<float>(tankVolume) * 0.01f;
        if (units == UnitSystem::Imperial)
            return common::cformat("%.0f", static_cast<double>(litres) * 7.0);
        // The blanks line single-digit volumes up under the others in the combo box.
        // Compared in hundredths so that 9.9 l itself is padded, whatever float makes of 990 * 0.01.
        return common::cformat(tankVolume <= 990 ? "  %.1f" : "%.1f", static_cast<double>(litres));
    }

    std::string formatWithNumber(int id, int number)
    {
        const std::string format(common::str(id));
        return common::cformat(format.c_str(), number);
    }

} // namespace

void applyNewDiveDefaults(DiveRecord &record, const NewDiveDefaults &def)
{
    if (!def.apply)
        return;
    if (def.tankMaterial != 0)
        record.extra.tankMaterial = def.tankMaterial;
    if (def.weights != 0)
        record.extra.weights = def.weights;
    if (def.tankVolume != 0)
        record.tankVolume = def.tankVolume;
    if (def.altitudeClass != 0 && record.altitudeClass == 0)
        record.altitudeClass = def.altitudeClass;
    if (def.suit != 0)
        record.suit = def.suit;
    if (!def.model.empty())
        setFixedText(record.extra.model, def.model, kModelLength);
    record.diveType = static_cast<std::uint16_t>(record.diveType | (def.diveTypeMask & 0x00FCu));
}

Logbook::Logbook()
{
    reset();
}

void Logbook::setUnitSystem(UnitSystem units)
{
    if (units == m_units)
        return;
    m_units = units;
    refillTankVolumes();
}

void Logbook::reset()
{
    m_dives.clear();
    m_dives.shrink_to_fit();
    m_currentDive = 0;
    m_firstDiveNumber = 1;
    m_formatVersion = 161;
    m_headerLong = 0;
    m_headerWordA = 100;
    m_headerWordB = 20;
    m_modified = 0;
    m_totalMinutes = 0;
    m_meanAirConsumption = 0.0f;
    m_meanValid = 0;
    raiseRefreshFlags();
    sizeLists(1);
    listRef(ListId::SitesOfPlace).clear();
    printPositions = { -1, -1 };
    setPath(std::string(common::str(kStrDefaultPath)));
}

const DiveRecord *Logbook::dive(int position) const
{
    if (position < 1 || position > diveCount())
        return nullptr;
    return &m_dives[static_cast<std::size_t>(position - 1)];
}

void Logbook::putDive(const DiveRecord &record, int position)
{
    if (position < 1 || position > diveCount())
        return;
    m_dives[static_cast<std::size_t>(position - 1)] = record;
    // The record may carry a new duration or consumption; the totals must follow
    // even though the list is only redrawn line by line.
    recomputeTotals();
    m_modified = 1;
    if (m_observer) {
        m_observer->diveChanged(position);
        m_observer->markModified();
    }
}

std::vector<int> Logbook::editDives(int first, int last, const std::function<bool(int position, DiveRecord &)> &edit)
{
    std::vector<int> changed;
    const int from = std::max(first, 1);
    const int to = std::min(last, diveCount());
    for (int position = from; position <= to; ++position)
        if (edit(position, m_dives[static_cast<std::size_t>(position - 1)]))
            changed.push_back(position);
    if (changed.empty())
        return changed;
    recomputeTotals();
    raiseRefreshFlags();
    m_modified = 1;
    if (m_observer) {
        for (const int position : changed)
            m_observer->diveChanged(position);
        m_observer->markModified();
    }
    return changed;
}

int Logbook::insertPosition(const DiveRecord &record) const
{
    const int n = diveCount();
    int p = n + 1;
    if (record.date == kNoDate) {
        p = 1;
    } else {
        for (int i = 1; i <= n; ++i) {
            const DiveRecord &d = m_dives[static_cast<std::size_t>(i - 1)];
            // Undated dives sit at the front; taken as later than everything they
            // would pull every new dated dive ahead of all others.
            if (d.date == kNoDate)
                continue;
            if (d.date > record.date || (d.date == record.date && d.entryTime > record.entryTime)) {
                p = i;
                break;
            }
        }
    }
    return p;
}

std::int16_t Logbook::comingNumber(const DiveRecord &record) const
{
    const int p = insertPosition(record);
    if (p == diveCount() + 1)
        return p == 1 ? std::int16_t { 1 } : static_cast<std::int16_t>(m_dives.back().diveNumber + 1);
    return m_dives[static_cast<std::size_t>(p - 1)].diveNumber;
}

bool Logbook::insertDive(const DiveRecord &record)
{
    if (diveCount() >= kMaxDives)
        return false;
    const int p = insertPosition(record);
    const auto index = static_cast<std::size_t>(p - 1);
    m_dives.insert(m_dives.begin() + static_cast<std::ptrdiff_t>(index), record);
    if (p == diveCount()) {
        m_dives[index].diveNumber
            = p == 1 ? std::int16_t { 1 } : static_cast<std::int16_t>(m_dives[index - 1].diveNumber + 1);
    } else {
        for (std::size_t i = index + 1; i < m_dives.size(); ++i)
            m_dives[i].diveNumber = static_cast<std::int16_t>(m_dives[i].diveNumber + 1);
        m_dives[index].diveNumber = static_cast<std::int16_t>(m_dives[index + 1].diveNumber - 1);
    }

    m_currentDive = p;
    recompute(false);
    touch();
    return true;
}

void Logbook::adoptDives(std::vector<DiveRecord> dives)
{
    if (dives.size() > static_cast<std::size_t>(kMaxDives))
        dives.resize(static_cast<std::size_t>(kMaxDives));
    m_dives.assign(std::make_move_iterator(dives.begin()), std::make_move_iterator(dives.end()));
    m_currentDive = diveCount();
    recompute(true);
    touch();
}

void Logbook::moveDive(const DiveRecord &record, int from, int to)
{
    const int n = diveCount();
    if (from < 1 || from > n || to < 1 || to > n)
        return;
    const auto c = static_cast<std::size_t>(from - 1);
    const auto p = static_cast<std::size_t>(to - 1);

    m_dives.erase(m_dives.begin() + static_cast<std::ptrdiff_t>(c));
    for (std::size_t i = c; i < m_dives.size(); ++i)
        m_dives[i].diveNumber = static_cast<std::int16_t>(m_dives[i].diveNumber - 1);
    m_dives.insert(m_dives.begin() + static_cast<std::ptrdiff_t>(p), record);
    for (std::size_t i = p + 1; i < m_dives.size(); ++i)
        m_dives[i].diveNumber = static_cast<std::int16_t>(m_dives[i].diveNumber + 1);
    m_dives[p].diveNumber = p == 0 ? static_cast<std::int16_t>(m_firstDiveNumber)
                                   : static_cast<std::int16_t>(m_dives[p - 1].diveNumber + 1);

    m_currentDive = to;
    recompute(false);
    touch();
}

void Logbook::deleteDive(int position)
{
    if (position < 1 || position > diveCount())
        return;
    // Each later dive takes over the number of the position it moves into.
    auto index = static_cast<std::size_t>(position - 1);
    std::int16_t number = m_dives[index].diveNumber;
    for (std::size_t i = index + 1; i < m_dives.size(); ++i)
        std::swap(number, m_dives[i].diveNumber);
    m_dives.erase(m_dives.begin() + static_cast<std::ptrdiff_t>(index));

    if (m_currentDive > diveCount())
        m_currentDive = diveCount();
    recompute(true);
    touch();
}

void Logbook::confirmDeleteCurrent()
{
    confirmDelete(m_currentDive, kStrConfirmDeleteCurrent);
}

void Logbook::confirmDelete(int position)
{
    confirmDelete(position, kStrConfirmDelete);
}

void Logbook::confirmDelete(int position, int questionId)
{
    const DiveRecord *d = dive(position);
    // Nobody to ask means nobody said yes.
    if (!d || !m_confirmer)
        return;
    if (m_confirmer->confirm(formatWithNumber(questionId, d->diveNumber)))
        deleteDive(position);
}

int Logbook::positionForDate(const DiveRecord &record, int currentPosition) const
{
    if (currentPosition == 0 || record.date == kNoDate)
        return 1;
    const int n = diveCount();
    for (int i = 1; i <= n; ++i) {
        if (i == currentPosition)
            continue;
        const DiveRecord &d = m_dives[static_cast<std::size_t>(i - 1)];
        if (d.date == kNoDate)
            continue;
        if (d.date > record.date || (d.date == record.date && d.entryTime > record.entryTime))
            return i < currentPosition ? i : i - 1;
    }
    return n;
}

void Logbook::renumber(int firstNumber)
{
    m_firstDiveNumber = firstNumber;
    for (std::size_t i = 0; i < m_dives.size(); ++i)
        m_dives[i].diveNumber = static_cast<std::int16_t>(firstNumber + static_cast<int>(i));
    touch();
    raiseRefreshFlags();
}

void Logbook::shiftTimes(int first, int last, int minutes)
{
    const common::Clock &clock = common::clock();
    const int from = first < 1 ? 1 : first;
    const int to = last > diveCount() ? diveCount() : last;
    for (int position = from; position <= to; ++position) {
        DiveRecord &d = m_dives[static_cast<std::size_t>(position - 1)];
        // Values past the shown range are not dates; run through the calendar
        // they would come back as some date in 1970.
        if (d.date == kNoDate || d.entryTime == kMissing || d.date >= 1000000)
            continue;
        const CalendarDate date = calendarDate(d.date);
        common::LocalDateTime local;
        local.year = date.year;
        local.month = date.month;
        local.day = date.day;
        local.hour = d.entryTime / 60;
        local.minute = d.entryTime % 60;
        local.second = 0;
        const common::LocalDateTime shifted
            = clock.toLocal(clock.fromLocal(local) + static_cast<std::int64_t>(minutes) * 60);
        d.date = dayNumber(shifted.day, shifted.month, shifted.year);
        d.entryTime = static_cast<std::int16_t>(shifted.hour * 60 + shifted.minute);
    }
    touch();
    raiseRefreshFlags();
}

std::int16_t Logbook::diveNumberAt(int position) const
{
    const DiveRecord *d = dive(position);
    return d ? d->diveNumber : std::int16_t { 0 };
}

void Logbook::recompute(bool rebuildLists)
{
    raiseRefreshFlags();
    if (rebuildLists) {
        // An empty logbook still gets room, so that the first new dive's values
        // are offered before the next rebuild.
        sizeLists(diveCount());
        for (const DiveRecord &d : m_dives)
            addToLists(d);
    }
    recomputeTotals();
}

void Logbook::recomputeTotals()
{
    m_totalMinutes = 0;
    float sum = 0.0f;
    int counted = 0;
    for (const DiveRecord &d : m_dives) {
        if (d.duration != kMissing)
            m_totalMinutes += d.duration;
        if (d.airConsumption != 0.0f) {
            sum += d.airConsumption;
            ++counted;
        }
    }
    if (!m_dives.empty())
        m_firstDiveNumber = m_dives.front().diveNumber;
    // Without this, deleting the last dive with a consumption would leave its value standing.
    m_meanAirConsumption = counted > 0 ? sum / static_cast<float>(counted) : 0.0f;
    m_meanValid = counted > 0 ? 1 : 0;
}

void Logbook::applyNewDiveDefaults(DiveRecord &record) const
{
    logbook::applyNewDiveDefaults(record, m_defaults);
}

void Logbook::computeAirConsumption(DiveRecord &record)
{
    record.airConsumption = 0.0f;
    if (record.sampleCount == 0)
        return;
    const int samples = record.sampleCount < kMaxSamples ? record.sampleCount : kMaxSamples;
    int n = 0;
    for (int i = 1; i < samples; ++i)
        if (record.samples[static_cast<std::size_t>(i)].depth != 0.0f)
            ++n;
    if (record.tankVolume == kMissing || record.airUsed == kMissing)
        return;

    const float freeAir
        = (static_cast<float>(record.airUsed) * 0.01f) * (static_cast<float>(record.tankVolume) * 0.01f);
    float ambient = 1.0f;
    float minutes = 0.0f;
    if (record.diveType & dive_type::kScr) {
        minutes = record.duration == kMissing ? 0.0f : static_cast<float>(record.duration);
    } else {
        ambient = record.profileAvgDepth * 0.1f + 1.0f;
        minutes = static_cast<float>(n) * 0.33333334f - 0.33f;
    }
    // A profile with no depth after its first sample gives a negative time, and a
    // nonsense average depth a pressure of zero or less: no consumption then.
    if (minutes <= 0.0f || ambient <= 0.0f)
        return;
    record.airConsumption = freeAir / ambient / minutes;
}

bool Logbook::newDive()
{
    DiveRecord record;
    applyNewDiveDefaults(record);
    if (m_lastNewDiveDate == 0) {
        const common::LocalDateTime today = common::clock().localNow();
        m_lastNewDiveDate = dayNumber(today.day, today.month, today.year);
    }
    record.date = m_lastNewDiveDate;
    if (m_editor && !m_editor->editNewDive(record))
        return false;
    if (!insertDive(record))
        return false;
    if (isShownAsDate(record.date))
        m_lastNewDiveDate = record.date;
    addToLists(record);
    return true;
}

bool Logbook::newDiveFrom(const DiveRecord &prepared)
{
    DiveRecord record = prepared;
    if (m_editor && !m_editor->editNewDive(record))
        return false;
    if (!insertDive(record))
        return false;
    addToLists(record);
    return true;
}

void Logbook::storeEditedCurrent(const DiveRecord &edited)
{
    const int c = m_currentDive;
    if (c < 1 || c > diveCount())
        return;
    const int p = positionForDate(edited, c);
    if (p != c)
        moveDive(edited, c, p);
    else
        putDive(edited, c);
    addToLists(edited);
}

const ValueList &Logbook::list(ListId id) const
{
    return m_lists[static_cast<std::size_t>(id)];
}

void Logbook::fillSitesOfPlace(const std::string &placeDisplay)
{
    ValueList &sites = listRef(ListId::SitesOfPlace);
    sites.size(diveCount());
    const std::string place = displayToStored(placeDisplay);
    for (const DiveRecord &d : m_dives)
        if (place.empty() || fixedText(d.place) == place)
            sites.add(fixedText(d.site));
}

void Logbook::addToLists(const DiveRecord &record)
{
    listRef(ListId::SuitModels).add(fixedText(record.extra.model));
    listRef(ListId::Places).add(fixedText(record.place));
    listRef(ListId::Sites).add(fixedText(record.site));
    listRef(ListId::TankVolumes).add(displayToStored(tankVolumeText(record.tankVolume, m_units)));
    for (std::string_view name : splitEntries(fixedText(record.partners)))
        listRef(ListId::Partners).add(name);
    const SecondSetNames &secondSet = secondSetNames();
    for (std::string_view word : splitEntries(fixedText(record.otherActivities)))
        if (!secondSet.isName(word))
            listRef(ListId::OtherActivities).add(word);
}

void Logbook::refillTankVolumes()
{
    ValueList &volumes = listRef(ListId::TankVolumes);
    volumes.size(diveCount());
    for (const DiveRecord &d : m_dives)
        volumes.add(displayToStored(tankVolumeText(d.tankVolume, m_units)));
}

std::uint8_t Logbook::secondActivities(const DiveRecord &record) const
{
    if (m_mode == Mode::Advanced)
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

void Logbook::setSecondActivities(DiveRecord &record, std::uint8_t set, bool shortNames) const
{
    if (m_mode == Mode::Advanced) {
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
        if (secondSet.isName(entry)) {
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

void Logbook::setCurrentDive(int position)
{
    if (position < 0)
        position = 0;
    if (position > diveCount())
        position = diveCount();
    m_currentDive = position;
}

bool Logbook::takeDiveListRebuild()
{
    return std::exchange(m_diveListRebuild, false);
}

bool Logbook::takeProfileRedraw()
{
    return std::exchange(m_profileRedraw, false);
}

void Logbook::setPath(const std::string &path)
{
    m_path = path;
    if (path.empty()) {
        m_infPath.clear();
        m_prgPath.clear();
        m_trpPath.clear();
        m_addPath.clear();
        return;
    }
    auto companion
        = [&path](const char *extension) { return std::filesystem::path(path).replace_extension(extension).string(); };
    m_infPath = companion(".inf");
    m_prgPath = companion(".prg");
    m_trpPath = companion(".trp");
    m_addPath = companion(".add");
}

void Logbook::touch()
{
    m_modified = 1;
    if (m_observer)
        m_observer->markModified();
}

void Logbook::raiseRefreshFlags()
{
    m_listStale = true;
    m_diveListRebuild = true;
    m_profileRedraw = true;
}

ValueList &Logbook::listRef(ListId id)
{
    return m_lists[static_cast<std::size_t>(id)];
}

void Logbook::sizeLists(int diveCount)
{
    for (ListId id : { ListId::Places, ListId::Sites, ListId::TankVolumes, ListId::Partners, ListId::OtherActivities,
             ListId::SuitModels })
        listRef(id).size(diveCount);
}

} // namespace zorv::logbook
