// The open logbook: its dives in date order, their numbering and totals, and its file names.
#pragma once

#include "common/hugepageallocator.h"
#include "common/stringid.h"
#include "logbook/computerinfo.h"
#include "logbook/diverecord.h"
#include "logbook/newdivedefaults.h"
#include "logbook/unitsystem.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace zorv::logbook {

// Where the supplementary fields of a dive live: in the .add file (advanced)
// or, for the second activity set, in the text of otherActivities (standard).
enum class Mode {
    Standard,
    Advanced,
};

// The document side of the logbook: told about every change so that it can
// ask to save before the logbook is closed and redraw the changed line.
class LogbookObserver {
public:
    virtual ~LogbookObserver() = default;
    virtual void markModified() = 0;
    // The dive at this position was replaced in place (its list line needs redrawing).
    virtual void diveChanged(int position) = 0;
};

class LogbookFile;
class LogbookSnapshot;

// The dive array; see HugePageAllocator for why it is not a plain vector.
using DiveArray = std::vector<DiveRecord, common::HugePageAllocator<DiveRecord>>;

// The words of the .log header that the program keeps but does not interpret.
struct LogHeaderWords {
    std::uint32_t headerLong = 0; // serial number of the computer the dives were last taken from
    std::uint16_t wordA = 100;
    std::uint16_t wordB = 20;
};

class Logbook {
public:
    // The file header keeps the dive count in a signed 16-bit field.
    static constexpr int kMaxDives = 32767;
    static constexpr std::uint16_t kFormatVersion = 161;

    Logbook();

    // Environment the operations depend on. The computer info may be null, in
    // which case no computer is taken to carry the extra profile word.
    void setUnitSystem(UnitSystem units) { m_units = units; }
    UnitSystem unitSystem() const { return m_units; }
    void setMode(Mode mode) { m_mode = mode; }
    Mode mode() const { return m_mode; }
    void setComputerInfo(const ComputerInfo *info) { m_computers = info; }
    const ComputerInfo *computerInfo() const { return m_computers; }
    void setNewDiveDefaults(const NewDiveDefaults &defaults) { m_defaults = defaults; }
    const NewDiveDefaults &newDiveDefaults() const { return m_defaults; }
    void setObserver(LogbookObserver *observer) { m_observer = observer; }

    // Record operations; positions are 1-based.
    void reset();
    const DiveRecord *dive(int position) const; // null for an invalid position
    void putDive(const DiveRecord &record, int position);
    // False when the logbook already holds kMaxDives dives.
    bool insertDive(const DiveRecord &record);
    // The number insertDive would give the record: its place in date order decides it.
    std::int16_t comingNumber(const DiveRecord &record) const;
    // Replaces all dives with ones already in date order and numbered, as a
    // generator produces them: inserting 32,767 dives one by one would re-walk
    // and re-total the whole array each time.
    void adoptDives(std::vector<DiveRecord> dives);
    // Changes the dives first..last in place; `edit` returns true when it changed
    // one. The totals are computed once and the observer hears of each changed dive,
    // so a tool can touch every dive of a big logbook without re-totalling it each
    // time as putDive does. Returns the changed positions, ascending.
    std::vector<int> editDives(int first, int last, const std::function<bool(int position, DiveRecord &)> &edit);
    void moveDive(const DiveRecord &record, int from, int to);
    void deleteDive(int position);
    int positionForDate(const DiveRecord &record, int currentPosition) const;
    // Stores an edited copy of the current dive, moving it when its date changed.
    void storeEditedCurrent(const DiveRecord &edited);
    void renumber(int firstNumber);
    void shiftTimes(int first, int last, int minutes);
    std::int16_t diveNumberAt(int position) const;
    bool isModified() const { return m_modified; }
    // The document decides whether the logbook differs from its file once undo has moved it back and forth.
    void setModified(bool modified) { m_modified = modified; }
    void recomputeTotals();
    void applyNewDiveDefaults(DiveRecord &record) const;
    static void computeAirConsumption(DiveRecord &record);

    // State.
    int diveCount() const { return static_cast<int>(m_dives.size()); }
    int currentDive() const { return m_currentDive; }
    void setCurrentDive(int position);
    float meanAirConsumption() const { return m_meanAirConsumption; }
    bool meanValid() const { return m_meanValid; }
    int firstDiveNumber() const { return m_firstDiveNumber; }
    std::uint16_t formatVersion() const { return kFormatVersion; }
    std::uint32_t headerLong() const { return m_header.headerLong; }
    void setHeaderLong(std::uint32_t value) { m_header.headerLong = value; }
    std::uint16_t headerWordA() const { return m_header.wordA; }
    std::uint16_t headerWordB() const { return m_header.wordB; }
    int totalMinutes() const { return m_totalMinutes; }
    const DiveArray &dives() const { return m_dives; }

    // File names.
    const std::string &path() const { return m_path; }
    const std::string &infPath() const { return m_infPath; }
    const std::string &prgPath() const { return m_prgPath; } // the forecast journal
    const std::string &trpPath() const { return m_trpPath; } // the trips
    const std::string &addPath() const { return m_addPath; }
    void setPath(const std::string &path); // also rebuilds the companion names

private:
    friend class LogbookFile;
    friend class LogbookSnapshot;

    int insertPosition(const DiveRecord &record) const;

    void touch(); // marks the logbook and the document modified

    const ComputerInfo *m_computers = nullptr;
    UnitSystem m_units = UnitSystem::Metric;
    Mode m_mode = Mode::Advanced;
    NewDiveDefaults m_defaults;
    LogbookObserver *m_observer = nullptr;

    // Everything below is what reset() clears.
    std::string m_path;
    std::string m_infPath;
    std::string m_prgPath;
    std::string m_trpPath;
    std::string m_addPath;
    DiveArray m_dives;
    int m_currentDive = 0;
    float m_meanAirConsumption = 0.0f;
    bool m_meanValid = false;
    int m_firstDiveNumber = 1;
    LogHeaderWords m_header;
    bool m_modified = false;
    int m_totalMinutes = 0;
    // The reserved trailer of the last .add entry read, written back to every entry.
    std::array<std::uint8_t, 300> m_addTrailer {};
};

} // namespace zorv::logbook
