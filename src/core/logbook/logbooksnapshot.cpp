#include "logbook/logbooksnapshot.h"

#include "logbook/logbook.h"

#include <algorithm>
#include <unordered_set>

namespace zorv::logbook {

namespace {

    // Equal apart from the fields a snapshot keeps beside the record. The copy
    // is only made when those fields differ, which is rare between two states.
    bool sameContent(const DiveRecord &dive, const DiveRecord &kept)
    {
        if (dive.diveNumber == kept.diveNumber && dive.date == kept.date && dive.entryTime == kept.entryTime)
            return dive == kept;
        DiveRecord probe = kept;
        probe.diveNumber = dive.diveNumber;
        probe.date = dive.date;
        probe.entryTime = dive.entryTime;
        return dive == probe;
    }

} // namespace

LogbookSnapshot LogbookSnapshot::take(const Logbook &logbook, const LogbookSnapshot *previous)
{
    const DiveArray &dives = logbook.dives();
    const std::size_t n = dives.size();
    LogbookSnapshot snapshot;
    snapshot.m_currentDive = logbook.currentDive();
    snapshot.m_firstDiveNumber = logbook.firstDiveNumber();
    snapshot.m_headerLong = logbook.headerLong();
    snapshot.m_order.reserve(n);
    for (const DiveRecord &d : dives)
        snapshot.m_order.push_back({ d.diveNumber, d.date, d.entryTime });

    std::size_t head = 0;
    std::size_t tail = 0;
    if (previous) {
        const std::vector<std::shared_ptr<const DiveRecord>> &kept = previous->m_records;
        const std::size_t m = kept.size();
        while (head < n && head < m && sameContent(dives[head], *kept[head]))
            ++head;
        while (tail < n - head && tail < m - head && sameContent(dives[n - 1 - tail], *kept[m - 1 - tail]))
            ++tail;
        snapshot.m_records.reserve(n);
        snapshot.m_records.insert(snapshot.m_records.end(), kept.begin(), kept.begin() + static_cast<long>(head));
    }
    // Between the equal ends a dive moved by its date shifts the others by one:
    // walking both stretches side by side, stepping over one record where they
    // part, still shares all of them but the moved one.
    std::size_t j = head;
    const std::size_t keptEnd = previous ? previous->m_records.size() - tail : head;
    for (std::size_t i = head; i < n - tail; ++i) {
        const DiveRecord &dive = dives[i];
        const auto &kept = previous ? previous->m_records : snapshot.m_records;
        if (j < keptEnd && sameContent(dive, *kept[j])) {
            snapshot.m_records.push_back(kept[j++]);
        } else if (j + 1 < keptEnd && sameContent(dive, *kept[j + 1])) {
            snapshot.m_records.push_back(kept[j + 1]);
            j += 2;
        } else {
            snapshot.m_records.push_back(std::make_shared<const DiveRecord>(dive));
            // A changed record in place of a kept one consumes it; an inserted one does not.
            if (j < keptEnd && (i + 1 >= n - tail || !sameContent(dives[i + 1], *kept[j])))
                ++j;
        }
    }
    if (previous) {
        const std::vector<std::shared_ptr<const DiveRecord>> &kept = previous->m_records;
        snapshot.m_records.insert(snapshot.m_records.end(), kept.end() - static_cast<long>(tail), kept.end());
    }
    return snapshot;
}

void LogbookSnapshot::restoreInto(Logbook &logbook) const
{
    DiveArray &dives = logbook.m_dives;
    const std::size_t n = m_records.size();
    // Records already equal are left alone, so that undoing a small step in a
    // big logbook rewrites only what it changed.
    if (dives.size() > n)
        dives.erase(dives.begin() + static_cast<long>(n), dives.end());
    for (std::size_t i = 0; i < n; ++i) {
        const Order &order = m_order[i];
        if (i < dives.size()) {
            DiveRecord &d = dives[i];
            if (!sameContent(d, *m_records[i]))
                d = *m_records[i];
        } else {
            dives.push_back(*m_records[i]);
        }
        DiveRecord &d = dives[i];
        d.diveNumber = order.diveNumber;
        d.date = order.date;
        d.entryTime = order.entryTime;
    }
    logbook.m_firstDiveNumber = m_firstDiveNumber;
    logbook.m_header.headerLong = m_headerLong;
    logbook.m_currentDive = std::clamp(m_currentDive, n == 0 ? 0 : 1, static_cast<int>(n));
    logbook.recomputeTotals();
    // An emptied logbook keeps the first number it had, as it did before.
    logbook.m_firstDiveNumber = n == 0 ? m_firstDiveNumber : dives.front().diveNumber;
}

bool LogbookSnapshot::sameDives(const LogbookSnapshot &other) const
{
    // A snapshot taken after another shares every record that did not change,
    // so comparing the pointers is enough.
    return m_records == other.m_records && m_order == other.m_order && m_headerLong == other.m_headerLong
        && m_firstDiveNumber == other.m_firstDiveNumber;
}

int LogbookSnapshot::firstDifference(const LogbookSnapshot &other) const
{
    const std::size_t n = std::min(m_records.size(), other.m_records.size());
    for (std::size_t i = 0; i < n; ++i) {
        const bool sameRecord = m_records[i] == other.m_records[i] || *m_records[i] == *other.m_records[i];
        if (!sameRecord || !(m_order[i] == other.m_order[i]))
            return static_cast<int>(i) + 1;
    }
    return m_records.size() == other.m_records.size() ? 0 : static_cast<int>(n) + 1;
}

int LogbookSnapshot::unsharedWith(const LogbookSnapshot &other) const
{
    std::unordered_set<const DiveRecord *> shared;
    for (const auto &record : other.m_records)
        shared.insert(record.get());
    return static_cast<int>(std::count_if(
        m_records.begin(), m_records.end(), [&shared](const auto &record) { return !shared.contains(record.get()); }));
}

} // namespace zorv::logbook
