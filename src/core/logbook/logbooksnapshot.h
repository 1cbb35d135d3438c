// What undo keeps of a logbook: its dives and numbering at one moment, sharing unchanged records with the state before.
#pragma once

#include "logbook/diverecord.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace zorv::logbook {

class Logbook;

// A snapshot holds every dive as a shared, unchanging record, so that the
// states of a long run of undo steps cost one copy of the logbook plus the
// records each step changed. The dive number, date and entry time are kept
// beside the shared records: inserting, deleting, renumbering and shifting
// times change those in many dives at once and nothing else in them.
class LogbookSnapshot {
public:
    LogbookSnapshot() = default;

    // The logbook as it is now. With `previous`, the records the logbook still
    // holds unchanged are shared with it instead of copied: the changed ones
    // are found as the stretch between the longest equal start and end.
    static LogbookSnapshot take(const Logbook &logbook, const LogbookSnapshot *previous = nullptr);

    // Puts the logbook back into this state: dives, numbering, current dive
    // and the header word a transfer writes. Whether it counts as modified is left to the caller.
    void restoreInto(Logbook &logbook) const;

    // Both hold the same dives with the same numbers and times (the current dive aside).
    bool sameDives(const LogbookSnapshot &other) const;

    // The position (from 1) of the first dive that differs between the two, 0
    // when none does: the dive a step between them changed first, and the one
    // to show after undoing or redoing it.
    int firstDifference(const LogbookSnapshot &other) const;

    int diveCount() const { return static_cast<int>(m_records.size()); }
    // How many records this snapshot holds that `other` does not share.
    int unsharedWith(const LogbookSnapshot &other) const;

private:
    struct Order {
        std::int16_t diveNumber = 0;
        std::uint32_t date = 0;
        std::int16_t entryTime = 0;
        bool operator==(const Order &) const = default;
    };

    std::vector<std::shared_ptr<const DiveRecord>> m_records;
    std::vector<Order> m_order;
    int m_currentDive = 0;
    int m_firstDiveNumber = 1;
    std::uint32_t m_headerLong = 0; // a transfer stores the computer's serial here
};

} // namespace zorv::logbook
