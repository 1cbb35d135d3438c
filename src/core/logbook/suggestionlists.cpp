#include "logbook/suggestionlists.h"

#include "common/cformat.h"
#include "logbook/logbook.h"
#include "logbook/oemcharmap.h"
#include "logbook/secondactivities.h"

namespace zorv::logbook {

namespace {

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

} // namespace

SuggestionLists::SuggestionLists(const Logbook &logbook)
    : m_logbook(logbook)
{
    // An empty logbook still gets room, so that the values typed into the first dive are offered.
    for (ListId id : { ListId::Places, ListId::Sites, ListId::TankVolumes, ListId::Partners, ListId::OtherActivities,
             ListId::SuitModels })
        listRef(id).size(logbook.diveCount());
    for (const DiveRecord &d : logbook.dives())
        add(d);
}

void SuggestionLists::add(const DiveRecord &record)
{
    listRef(ListId::SuitModels).add(fixedText(record.extra.model));
    listRef(ListId::Places).add(fixedText(record.place));
    listRef(ListId::Sites).add(fixedText(record.site));
    listRef(ListId::TankVolumes).add(displayToStored(tankVolumeText(record.tankVolume, m_logbook.unitSystem())));
    for (std::string_view name : splitEntries(fixedText(record.partners)))
        listRef(ListId::Partners).add(name);
    for (std::string_view word : splitEntries(fixedText(record.otherActivities)))
        if (!isSecondActivityName(word))
            listRef(ListId::OtherActivities).add(word);
}

void SuggestionLists::fillSitesOfPlace(const std::string &placeDisplay)
{
    ValueList &sites = listRef(ListId::SitesOfPlace);
    sites.size(m_logbook.diveCount());
    const std::string place = displayToStored(placeDisplay);
    for (const DiveRecord &d : m_logbook.dives())
        if (place.empty() || fixedText(d.place) == place)
            sites.add(fixedText(d.site));
}

} // namespace zorv::logbook
