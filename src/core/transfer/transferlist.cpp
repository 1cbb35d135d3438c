#include "transfer/transferlist.h"

#include "common/cformat.h"
#include "common/strings.h"
#include "common/translation.h"
#include "computers/computercatalogue.h"
#include "logbook/fieldcatalogue.h"
#include "logbook/logbook.h"
#include "logbook/units.h"

#include <cmath>

namespace zorv::transfer {

using common::StringId;

namespace {

    std::size_t at(InfoField field)
    {
        return static_cast<std::size_t>(field);
    }

} // namespace

InfoTexts infoTexts(const ComputerSettings &s, const computers::ComputerCatalogue &catalogue)
{
    const auto type = static_cast<std::uint8_t>(s.type);
    InfoTexts texts;
    texts[at(InfoField::SerialNumber)] = common::cformat("%ld", static_cast<long>(s.serialNumber));
    texts[at(InfoField::ComputerType)] = common::cformat("%d", s.type);
    texts[at(InfoField::TotalDives)] = common::cformat("%d", s.totalDives);
    texts[at(InfoField::Battery)] = common::cformat("%.1f %%", s.batteryPercent);
    texts[at(InfoField::Beeper)] = std::string(common::str(s.beeper ? StringId::On : StringId::Off));
    texts[at(InfoField::Units)]
        = std::string(common::str(s.imperialUnits ? StringId::UnitsImperial : StringId::UnitsMetric));
    if (catalogue.isNitrox(type))
        texts[at(InfoField::MaxPpO2)] = common::cformat("%.2f bar", s.maxPpO2);
    if (catalogue.airIntegrated(type)) {
        texts[at(InfoField::AirReserve)] = common::cformat("%d bar", s.airReserve);
        texts[at(InfoField::BreathingSensitivity)] = common::cformat("%d %%", s.breathingSensitivity);
    }
    return texts;
}

const char *infoLabel(InfoField field)
{
    static const char *const labels[kInfoFieldCount] = {
        N_("Numéro de série:"),
        N_("Type d'ordinateur:"),
        N_("Plongées au total:"),
        N_("Charge de la pile:"),
        N_("Signal acoustique:"),
        N_("Unités:"),
        N_("Max. ppO2:"),
        N_("Réserve air:"),
        N_("Sensibilité de la respiration:"),
    };
    return common::tr(labels[at(field)]);
}

const char *infoKey(InfoField field)
{
    static const char *const keys[kInfoFieldCount]
        = { "SerNum", "CTyp", "AnzTG", "Batterie", "Beeper", "ZSys", "ppO2", "Reserve", "Atmung" };
    return keys[at(field)];
}

int batteryPercent(const ComputerSettings &settings)
{
    return static_cast<int>(settings.batteryPercent);
}

std::array<std::string, kTransferColumnCount> transferColumnTitles()
{
    return { std::string(common::str(StringId::ColumnNumber)), std::string(common::str(StringId::ColumnDate)),
        std::string(common::str(StringId::TransferWatch)), std::string(common::str(StringId::ColumnDepth)),
        std::string(common::str(StringId::ColumnDuration)), "dP",
        std::string(common::str(StringId::ProfileKindRecorded)) };
}

std::vector<TransferRow> transferRows(const MemoryImage &memory, int firstNew, int firstNumber, bool imperial)
{
    std::vector<TransferRow> rows;
    if (firstNew < 0)
        return rows;
    int number = firstNumber;
    for (int p = firstNew; const std::optional<ComputerDive> found = memory.diveAt(p); ++p) {
        const ComputerDive &dive = *found;
        TransferRow row;
        row.number = common::cformat("%5d", number++);
        row.date = logbook::formatDate(dive.date, logbook::DateForm::Long);
        row.time = common::cformat("%02d:%02d", dive.timeOfDay / 60, dive.timeOfDay % 60);
        const double metres = dive.maxDepth * 0.01;
        row.depth
            = imperial ? common::cformat("%.0f ft", logbook::metresToFeet(metres)) : common::cformat("%.1f m", metres);
        row.duration = common::cformat("%d Min.", dive.duration);
        if (dive.pressureDrop != logbook::kMissing) {
            const double bar = dive.pressureDrop * 0.01;
            row.pressureDrop = imperial ? common::cformat("%.0f psi", static_cast<double>(logbook::barToPsi(bar)))
                                        : common::cformat("%.0f bar", bar);
        }
        if (dive.profile.byteCount != 0)
            row.profile = "*";
        rows.push_back(std::move(row));
    }
    return rows;
}

int firstTransferNumber(const logbook::Logbook &logbook)
{
    return logbook.diveCount() == 0 ? 1 : logbook.diveNumberAt(logbook.diveCount()) + 1;
}

} // namespace zorv::transfer
