#include "logbook/divepage.h"

#include "common/cformat.h"
#include "common/translation.h"
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
        { 1063, N_("N° de plongée:"), Field::DiveNumber, {} },
        { 1042, N_("Date:"), Field::Date, {} },
        { 1043, N_("Heure:"), Field::EntryTime, {} },
        { 1044, N_("Lieu:"), Field::Place, {} },
        { 1045, N_("Site:"), Field::Site, {} },
        { 1046, "", Field::ComputerName, {} },
        { 1065, "", Field::ProfileKindText, {} },
        { 1047, N_("Niveau d'altitude:"), Field::AltitudeClass, {} },
        { 1048, N_("Intervalle:"), Field::SurfaceInterval, {} },
        { 1049, N_("Temps:"), Field::Weather, {} },
        { 1050, N_("Temp. air:"), Field::AirTemperature, UnitLabel { 1362, Quantity::Temperature } },
        { 1051, N_("Combinaison:"), Field::Suit, {} },
        { 1071, N_("Modèle:"), Field::Model, {} },
        { 1052, N_("Cont. bouteille:"), Field::TankVolume, UnitLabel { 1363, Quantity::TankVolume } },
        { 1067, N_("Pression:"), Field::TankPressure, UnitLabel { 1385, Quantity::Pressure } },
        { 1070, N_("Mat. bouteille:"), Field::TankMaterial, {} },
        { 1068, N_("Visibilité:"), Field::Visibility, UnitLabel { 1380, Quantity::Depth } },
        { 1069, N_("Plombs:"), Field::Weights, UnitLabel { 1368, Quantity::Weights } },
        { 1053, N_("Prof. max.:"), Field::MaxDepth, UnitLabel { 1364, Quantity::Depth } },
        { 1054, N_("Prof. moy.:"), Field::AverageDepth, UnitLabel { 1365, Quantity::Depth } },
        { 1055, N_("Durée:"), Field::Duration, {} },
        { 1056, N_("Temp. min. eau:"), Field::MinWaterTemperature, UnitLabel { 1366, Quantity::Temperature } },
        { 1057, N_("Consommation air:"), Field::AirUsed, UnitLabel { 1367, Quantity::Pressure } },
        { 1058, N_("Cons.Moy:"), Field::AirConsumption, UnitLabel { 1361, Quantity::AirConsumption } },
        { 1059, N_("Type de plongée:"), Field::DiveTypeText, {} },
        { 1060, N_("Activité:"), Field::ActivitiesText, {} },
        { 1061, N_("Alarmes:"), Field::WarningsText, {} },
        { 1062, N_("Palanquée:"), Field::Partners, {} },
        { 1064, N_("Commentaire:"), Field::Comment, {} },
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
    rows.push_back({ 1037, common::tr(N_(" Fichier:")),
        logbook.isModified() ? cformat("%s *", logbook.path().c_str()) : logbook.path(), 0, {} });
    rows.push_back({ 1038, common::tr(N_(" Nombre:")), cformat("%d", logbook.diveCount()), 0, {} });
    rows.push_back(unitRow(1040, common::tr(N_("Cons. moy. globale:")), catalogue.meanAirConsumptionText(),
        { 1360, Quantity::AirConsumption }, units));
    const int total = logbook.totalMinutes();
    rows.push_back(
        { 1041, common::tr(N_("Temps total de plongée:")), cformat("%d:%02d", total / 60, total % 60), 0, {} });

    static const DiveRecord blank;
    const DiveRecord *found = logbook.dive(position);
    const DiveRecord &dive = found ? *found : blank;
    const bool showWeights = options.mode == Mode::Advanced && options.weightsSelected;
    for (const FieldRow &row : kFieldRows) {
        if (row.controlId == kWeightsControl && !showWeights)
            continue;
        std::string value = catalogue.fromRecord(row.field, dive, DateForm::Long);
        if (row.unit)
            rows.push_back(unitRow(row.controlId, common::tr(row.label), std::move(value), *row.unit, units));
        else
            rows.push_back({ row.controlId, common::tr(row.label), std::move(value), 0, {} });
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
