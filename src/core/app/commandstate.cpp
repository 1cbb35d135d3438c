#include "app/commandstate.h"

#include "computers/computercatalogue.h"
#include "logbook/diverecord.h"
#include "logbook/logbook.h"

namespace zorv::app {

namespace {

    using logbook::DiveRecord;
    using logbook::kMissing;

    // Two parts of one dive lie close together; a longer pause makes two dives.
    constexpr int kMergeIntervalLimit = 121;

    bool hasSamples(const DiveRecord *dive)
    {
        return dive && dive->sampleCount > 0;
    }

    bool mergeAllowed(const logbook::Logbook &logbook, const computers::ComputerCatalogue *catalogue)
    {
        const int current = logbook.currentDive();
        const DiveRecord *dive = logbook.dive(current);
        const DiveRecord *next = logbook.dive(current + 1);
        if (!dive || !next)
            return false;
        if (isLinkedOxygenComputer(catalogue, dive->computerType))
            return isLinkedOxygenComputer(catalogue, next->computerType);
        return hasSamples(dive) && hasSamples(next) && next->surfaceInterval < kMergeIntervalLimit
            && next->surfaceInterval != kMissing;
    }

    // A hand-drawn profile is drawn over the dive's own depth and time, so both must be known.
    bool manualDataAllowed(const DiveRecord *dive)
    {
        return dive && logbook::profileKind(*dive) != logbook::ProfileKind::Computer && dive->maxDepth != kMissing
            && dive->duration != kMissing;
    }

} // namespace

bool isLinkedOxygenComputer(const computers::ComputerCatalogue *catalogue, std::uint8_t typeId)
{
    return catalogue && catalogue->contains(typeId) && catalogue->isO2(typeId) && !catalogue->isImport(typeId);
}

CommandState commandState(Command command, const logbook::Logbook &logbook,
    const computers::ComputerCatalogue *catalogue, const CommandEnvironment &environment)
{
    const bool divesExist = logbook.diveCount() > 0;
    const int current = logbook.currentDive();
    const bool searched = environment.lastSearchCriteria != -1;
    switch (command) {
    case Command::EditDive:
    case Command::DeleteDive:
    case Command::CopyDive:
    case Command::MultiCopy:
    case Command::RenumberAll:
    case Command::RenumberPart:
    case Command::TimeZone:
    case Command::FillDives:
    case Command::ProfileWindow:
    case Command::TableView:
    case Command::Statistics:
    case Command::SiteStatistics:
    case Command::PartnerStatistics:
    case Command::MonthlyStatistics:
    case Command::SearchDive:
    case Command::AdvancedSearch:
    case Command::SearchReplace:
    case Command::CreateSelection:
    case Command::ExportCsv:
    case Command::ExportUddf:
        return { divesExist, false };
    case Command::PasteDive:
        return { environment.diveInClipboard, false };
    case Command::MultiPaste:
    case Command::MultiClear:
        return { environment.multiClipboardCount != 0, false };
    case Command::SplitDive:
        return { divesExist && hasSamples(logbook.dive(current)), false };
    case Command::MergeDives:
        return { divesExist && mergeAllowed(logbook, catalogue), false };
    case Command::ManualData:
        return { divesExist && manualDataAllowed(logbook.dive(current)), false };
    case Command::SearchForward:
        return { searched && divesExist && current < logbook.diveCount(), false };
    case Command::SearchBackward:
        return { searched && divesExist && current >= 2, false };
    case Command::ProfilePreview:
        return { true, environment.profilePreview };
    case Command::ExternalApplication:
        return { environment.externalApplicationExists, false };
    case Command::Certificates:
    case Command::Trips:
    case Command::Forecast:
        return { divesExist && environment.logbookFileExists, false };
    default:
        return { true, false };
    }
}

} // namespace zorv::app
