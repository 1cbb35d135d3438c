// The suggestion lists of the edit dialogs: the places, sites, partners and other values the dives hold.
#pragma once

#include "logbook/unitsystem.h"
#include "logbook/valuelist.h"

#include <array>
#include <string>

namespace zorv::logbook {

class Logbook;
struct DiveRecord;

enum class ListId {
    Places,
    Sites,
    TankVolumes,
    Partners,
    OtherActivities,
    SuitModels,
    SitesOfPlace,
};

// Built from the dives when a dialog opens, so they follow every change of the
// logbook without being told about it. The logbook must outlive the lists.
class SuggestionLists {
public:
    // The values of every dive, tank volumes in the logbook's unit system.
    explicit SuggestionLists(const Logbook &logbook);

    const ValueList &list(ListId id) const { return m_lists[static_cast<std::size_t>(id)]; }

    // The sites of the dives at this place (display form); every site for an empty place.
    void fillSitesOfPlace(const std::string &placeDisplay);

private:
    void add(const DiveRecord &record);
    ValueList &listRef(ListId id) { return m_lists[static_cast<std::size_t>(id)]; }

    const Logbook &m_logbook;
    std::array<ValueList, 7> m_lists;
};

} // namespace zorv::logbook
