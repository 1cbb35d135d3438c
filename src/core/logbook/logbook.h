// The open logbook: its dives in date order, its totals, its suggestion lists and its file names.
#pragma once

#include "common/hugepageallocator.h"
#include "logbook/computerinfo.h"
#include "logbook/diverecord.h"
#include "logbook/newdivedefaults.h"
#include "logbook/unitsystem.h"
#include "logbook/valuelist.h"

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

// Asks the user an OK/Cancel question; the desktop program shows a message box.
class Confirmer {
public:
    virtual ~Confirmer() = default;
    virtual bool confirm(const std::string &questionUtf8) = 0;
};

// Lets the user edit a record before it is inserted; returns false on cancel.
// Without one, the new-dive flows insert the prepared record as it is.
class DiveEditor {
public:
    virtual ~DiveEditor() = default;
    virtual bool editNewDive(DiveRecord &record) = 0;
};

// The names of the seven suggestion lists.
enum class ListId {
    Places,
    Sites,
    TankVolumes,
    Partners,
    OtherActivities,
    SuitModels,
    SitesOfPlace,
};

class LogbookFile;
class LogbookSnapshot;

// The dive array; see HugePageAllocator for why it is not a plain vector.
using DiveArray = std::vector<DiveRecord, common::HugePageAllocator<DiveRecord>>;

class Logbook {
public:
    Logbook();

    // Environment the operations depend on. The computer info may be null, in
    // which case no computer is taken to carry the extra profile word.
    void setUnitSystem(UnitSystem units); // also refills the tank volumes when the units change
    UnitSystem unitSystem() const { return m_units; }
    void setMode(Mode mode) { m_mode = mode; }
    Mode mode() const { return m_mode; }
    void setComputerInfo(const ComputerInfo *info) { m_computers = info; }
    const ComputerInfo *computerInfo() const { return m_computers; }
    void setNewDiveDefaults(const NewDiveDefaults &defaults) { m_defaults = defaults; }
    const NewDiveDefaults &newDiveDefaults() const { return m_defaults; }
    void setObserver(LogbookObserver *observer) { m_observer = observer; }
    void setConfirmer(Confirmer *confirmer) { m_confirmer = confirmer; }
    void setDiveEditor(DiveEditor *editor) { m_editor = editor; }

    // Record operations; positions are 1-based.
    void reset();
    const DiveRecord *dive(int position) const; // null for an invalid position
    void putDive(const DiveRecord &record, int position);
    // False when the logbook already holds the most dives its file can count.
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
    void confirmDeleteCurrent();
    void confirmDelete(int position);
    int positionForDate(const DiveRecord &record, int currentPosition) const;
    void renumber(int firstNumber);
    void shiftTimes(int first, int last, int minutes);
    std::int16_t diveNumberAt(int position) const;
    bool isModified() const { return m_modified != 0; }
    // The document decides whether the logbook differs from its file once undo has moved it back and forth.
    void setModified(bool modified) { m_modified = modified ? 1 : 0; }
    void recompute(bool rebuildLists);
    void applyNewDiveDefaults(DiveRecord &record) const;
    static void computeAirConsumption(DiveRecord &record);

    // The flows of the edit dialog. newDive starts from the blank record with
    // the defaults and the remembered date; newDiveFrom from a prepared record.
    // Both return true when a dive was inserted.
    bool newDive();
    bool newDiveFrom(const DiveRecord &prepared);
    // Stores an edited copy of the current dive, moving it when its date changed.
    void storeEditedCurrent(const DiveRecord &edited);

    // Suggestion lists.
    const ValueList &list(ListId id) const;
    void fillSitesOfPlace(const std::string &placeDisplay);
    void addToLists(const DiveRecord &record);
    // Refills the tank volumes in the current unit system.
    void refillTankVolumes();

    // Second activity set (bits 0-7), in whichever form the mode keeps it.
    std::uint8_t secondActivities(const DiveRecord &record) const;
    void setSecondActivities(DiveRecord &record, std::uint8_t set, bool shortNames) const;

    // State.
    int diveCount() const { return static_cast<int>(m_dives.size()); }
    int currentDive() const { return m_currentDive; }
    void setCurrentDive(int position);
    float meanAirConsumption() const { return m_meanAirConsumption; }
    bool meanValid() const { return m_meanValid != 0; }
    int firstDiveNumber() const { return m_firstDiveNumber; }
    std::uint16_t formatVersion() const { return m_formatVersion; }
    std::uint32_t headerLong() const { return m_headerLong; }
    void setHeaderLong(std::uint32_t value) { m_headerLong = value; }
    std::uint16_t headerWordA() const { return m_headerWordA; }
    std::uint16_t headerWordB() const { return m_headerWordB; }
    int totalMinutes() const { return m_totalMinutes; }
    const DiveArray &dives() const { return m_dives; }

    // Refresh flags for the views: raised by every change, cleared by the reader.
    bool listStale() const { return m_listStale; }
    void clearListStale() { m_listStale = false; }
    bool takeDiveListRebuild();
    bool takeProfileRedraw();

    // File names.
    const std::string &path() const { return m_path; }
    const std::string &infPath() const { return m_infPath; }
    const std::string &prgPath() const { return m_prgPath; }
    const std::string &trpPath() const { return m_trpPath; }
    const std::string &addPath() const { return m_addPath; }
    void setPath(const std::string &path); // also rebuilds the companion names

    // The two remembered positions of the logbook printing.
    std::array<int, 2> printPositions { -1, -1 };

private:
    int insertPosition(const DiveRecord &record) const;
    friend class LogbookFile;
    friend class LogbookSnapshot;

    void touch(); // marks the logbook and the document modified
    void raiseRefreshFlags();
    void recomputeTotals();
    void confirmDelete(int position, int questionId);
    ValueList &listRef(ListId id);
    void sizeLists(int diveCount);

    const ComputerInfo *m_computers = nullptr;
    UnitSystem m_units = UnitSystem::Metric;
    Mode m_mode = Mode::Advanced;
    NewDiveDefaults m_defaults;
    LogbookObserver *m_observer = nullptr;
    Confirmer *m_confirmer = nullptr;
    DiveEditor *m_editor = nullptr;

    std::string m_path;
    std::string m_infPath;
    std::string m_prgPath;
    std::string m_trpPath;
    std::string m_addPath;
    DiveArray m_dives;
    int m_currentDive = 0;
    float m_meanAirConsumption = 0.0f;
    int m_meanValid = 0;
    bool m_listStale = true;
    bool m_diveListRebuild = true;
    bool m_profileRedraw = true;
    int m_firstDiveNumber = 1;
    std::uint16_t m_formatVersion = 161;
    std::uint32_t m_headerLong = 0;
    std::uint16_t m_headerWordA = 100;
    std::uint16_t m_headerWordB = 20;
    int m_modified = 0;
    int m_totalMinutes = 0;
    std::array<ValueList, 7> m_lists;
    // The date given to the next new dive; 0 until the first new dive of the run.
    std::uint32_t m_lastNewDiveDate = 0;
    // The reserved trailer of the last .add entry read, written back to every entry.
    std::array<std::uint8_t, 300> m_addTrailer {};
};

} // namespace zorv::logbook
