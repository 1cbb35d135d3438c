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

using common::StringId;

namespace {
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
    setPath(std::string(common::str(StringId::UntitledLogbook)));
}

void Logbook::reset()
{
    // A new logbook's values are the member initialisers; only the environment stays.
    Logbook fresh;
    fresh.m_computers = m_computers;
    fresh.m_units = m_units;
    fresh.m_mode = m_mode;
    fresh.m_defaults = m_defaults;
    fresh.m_observer = m_observer;
    *this = std::move(fresh);
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
    m_modified = true;
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
    m_modified = true;
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
    recomputeTotals();
    touch();
    return true;
}

void Logbook::adoptDives(std::vector<DiveRecord> dives)
{
    if (dives.size() > static_cast<std::size_t>(kMaxDives))
        dives.resize(static_cast<std::size_t>(kMaxDives));
    m_dives.assign(std::make_move_iterator(dives.begin()), std::make_move_iterator(dives.end()));
    m_currentDive = diveCount();
    recomputeTotals();
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
    recomputeTotals();
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
    recomputeTotals();
    touch();
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
}

std::int16_t Logbook::diveNumberAt(int position) const
{
    const DiveRecord *d = dive(position);
    return d ? d->diveNumber : std::int16_t { 0 };
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
    m_meanValid = counted > 0;
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
    const std::span<const ProfileSample> samples = profileSamples(record);
    int n = 0;
    for (std::size_t i = 1; i < samples.size(); ++i)
        if (samples[i].depth != 0.0f)
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
}

void Logbook::setCurrentDive(int position)
{
    if (position < 0)
        position = 0;
    if (position > diveCount())
        position = diveCount();
    m_currentDive = position;
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
    m_modified = true;
    if (m_observer)
        m_observer->markModified();
}

} // namespace zorv::logbook
