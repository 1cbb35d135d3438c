#include "logbook/divepage.h"

#include "common/cformat.h"
#include "logbook/fieldcatalogue.h"
#include "logbook/oemcharmap.h"
#include "logbook/units.h"

#include <optional>

namespace zorv::logbook {

using common::cformat;

namespace {

    struct UnitLabel {
        int controlId;
        Quantity quantity;
    };

    struct FieldRow {
        int controlId;
        const char *label;
        Field field;
        std::optional<UnitLabel> unit;
    };

    // The dive fields in the order of the form. Weights (1069) is left to the caller's options.
    const FieldRow kFieldRows[] = {
        { 1063, "Pl-Numero:", Field::DiveNumber, {} },
        { 1042, "Date:", Field::Date, {} },
        { 1043, "Heure:", Field::EntryTime, {} },
        { 1044, "Lieu:", Field::Place, {} },
        { 1045, "Site:", Field::Site, {} },
        { 1046, "", Field::ComputerName, {} },
        { 1065, "", Field::ProfileKindText, {} },
        { 1047, "Niveau d'altitude:", Field::AltitudeClass, {} },
        { 1048, "Intervale:", Field::SurfaceInterval, {} },
        { 1049, "Temps:", Field::Weather, {} },
        { 1050, "Temperatur air:", Field::AirTemperature, UnitLabel { 1362, Quantity::Temperature } },
        { 1051, "Combinaison:", Field::Suit, {} },
        { 1071, "Marque:", Field::Model, {} },
        { 1052, "Cont. bouteille:", Field::TankVolume, UnitLabel { 1363, Quantity::TankVolume } },
        { 1067, "Pression:", Field::TankPressure, UnitLabel { 1385, Quantity::Pressure } },
        { 1070, "Mat. bouteille:", Field::TankMaterial, {} },
        { 1068, "Visibilité:", Field::Visibility, UnitLabel { 1380, Quantity::Depth } },
        { 1069, "Plombs:", Field::Weights, UnitLabel { 1368, Quantity::Weights } },
        { 1053, "Prof. max.:", Field::MaxDepth, UnitLabel { 1364, Quantity::Depth } },
        { 1054, "Ø Prof.:", Field::AverageDepth, UnitLabel { 1365, Quantity::Depth } },
        { 1055, "Durée:", Field::Duration, {} },
        { 1056, "Temp. min. eau:", Field::MinWaterTemperature, UnitLabel { 1366, Quantity::Temperature } },
        { 1057, "Consommation air:", Field::AirUsed, UnitLabel { 1367, Quantity::Pressure } },
        { 1058, "Cons.Moy:", Field::AirConsumption, UnitLabel { 1361, Quantity::AirConsumption } },
        { 1059, "Type de plongée:", Field::DiveTypeText, {} },
        { 1060, "Activité:", Field::ActivitiesText, {} },
        { 1061, "Alarmes:", Field::WarningsText, {} },
        { 1062, "Palanqué:", Field::Partners, {} },
        { 1064, "Commentaire:", Field::Comment, {} },
    };

    constexpr int kWeightsControl = 1069;

    DivePageRow unitRow(int controlId, std::string label, std::string value, UnitLabel unit, UnitSystem units)
    {
        return { controlId, std::move(label), std::move(value), unit.controlId,
            std::string(unitWord(unit.quantity, units)) };
    }

} // namespace

std::vector<DivePageRow> divePage(
    const Logbook &logbook, const FieldCatalogue &catalogue, int position, const DivePageOptions &options)
{
    const UnitSystem units = catalogue.unitSystem();
    std::vector<DivePageRow> rows;
    rows.push_back(
        { 1037, " Fichier:", logbook.isModified() ? cformat("%s *", logbook.path().c_str()) : logbook.path(), 0, {} });
    rows.push_back({ 1038, " Nombre:", cformat("%d", logbook.diveCount()), 0, {} });
    rows.push_back(
        unitRow(1040, "Moy. Cons.Moy:", catalogue.meanAirConsumptionText(), { 1360, Quantity::AirConsumption }, units));
    const int total = logbook.totalMinutes();
    rows.push_back({ 1041, "Temps plongée tot.:", cformat("%d:%02d", total / 60, total % 60), 0, {} });

    static const DiveRecord blank;
    const DiveRecord *found = logbook.dive(position);
    const DiveRecord &dive = found ? *found : blank;
    const bool showWeights = options.mode == Mode::Advanced && options.weightsSelected;
    for (const FieldRow &row : kFieldRows) {
        if (row.controlId == kWeightsControl && !showWeights)
            continue;
        std::string value = catalogue.fromRecord(row.field, dive, DateForm::Long);
        if (row.unit)
            rows.push_back(unitRow(row.controlId, row.label, std::move(value), *row.unit, units));
        else
            rows.push_back({ row.controlId, row.label, std::move(value), 0, {} });
    }
    return rows;
}

std::string diveListLine(const Logbook &logbook, int position)
{
    const DiveRecord *dive = logbook.dive(position);
    if (!dive)
        return {};
    static constexpr char kKindFlags[] = { ' ', 'P', 'H' };
    const char flag = kKindFlags[static_cast<int>(profileKind(*dive))];
    const std::string date = formatDate(dive->date, DateForm::Short);
    const std::string place = storedToDisplay(fixedText(dive->place));
    const std::string site = storedToDisplay(fixedText(dive->site));
    if (site.empty())
        return cformat("%c\t%05d\t%-8s\t%s", flag, dive->diveNumber, date.c_str(), place.c_str());
    return cformat("%c\t%05d\t%-8s\t%s, %s", flag, dive->diveNumber, date.c_str(), place.c_str(), site.c_str());
}

} // namespace zorv::logbook
