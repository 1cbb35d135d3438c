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

    using C = PageControl;

    struct UnitLabel {
        PageControl controlId;
        Quantity quantity;
    };

    struct FieldRow {
        PageControl controlId;
        const char *label;
        Field field;
        std::optional<UnitLabel> unit;
    };

    // The dive fields in the order of the form. Weights are left to the caller's options.
    const FieldRow kFieldRows[] = {
        { C::DiveNumber, N_("N° de plongée:"), Field::DiveNumber, {} },
        { C::Date, N_("Date:"), Field::Date, {} },
        { C::EntryTime, N_("Heure:"), Field::EntryTime, {} },
        { C::Place, N_("Lieu:"), Field::Place, {} },
        { C::Site, N_("Site:"), Field::Site, {} },
        { C::ComputerName, "", Field::ComputerName, {} },
        { C::ProfileKind, "", Field::ProfileKindText, {} },
        { C::AltitudeClass, N_("Niveau d'altitude:"), Field::AltitudeClass, {} },
        { C::SurfaceInterval, N_("Intervalle:"), Field::SurfaceInterval, {} },
        { C::Weather, N_("Temps:"), Field::Weather, {} },
        { C::AirTemperature, N_("Temp. air:"), Field::AirTemperature,
            UnitLabel { C::AirTemperatureUnit, Quantity::Temperature } },
        { C::Suit, N_("Combinaison:"), Field::Suit, {} },
        { C::Model, N_("Modèle:"), Field::Model, {} },
        { C::TankVolume, N_("Cont. bouteille:"), Field::TankVolume,
            UnitLabel { C::TankVolumeUnit, Quantity::TankVolume } },
        { C::TankPressure, N_("Pression:"), Field::TankPressure,
            UnitLabel { C::TankPressureUnit, Quantity::Pressure } },
        { C::TankMaterial, N_("Mat. bouteille:"), Field::TankMaterial, {} },
        { C::Visibility, N_("Visibilité:"), Field::Visibility, UnitLabel { C::VisibilityUnit, Quantity::Depth } },
        { C::Weights, N_("Plombs:"), Field::Weights, UnitLabel { C::WeightsUnit, Quantity::Weights } },
        { C::MaxDepth, N_("Prof. max.:"), Field::MaxDepth, UnitLabel { C::MaxDepthUnit, Quantity::Depth } },
        { C::AverageDepth, N_("Prof. moy.:"), Field::AverageDepth, UnitLabel { C::AverageDepthUnit, Quantity::Depth } },
        { C::Duration, N_("Durée:"), Field::Duration, {} },
        { C::MinWaterTemperature, N_("Temp. min. eau:"), Field::MinWaterTemperature,
            UnitLabel { C::MinWaterTemperatureUnit, Quantity::Temperature } },
        { C::AirUsed, N_("Consommation air:"), Field::AirUsed, UnitLabel { C::AirUsedUnit, Quantity::Pressure } },
        { C::AirConsumption, N_("Cons.Moy:"), Field::AirConsumption,
            UnitLabel { C::AirConsumptionUnit, Quantity::AirConsumption } },
        { C::DiveType, N_("Type de plongée:"), Field::DiveTypeText, {} },
        { C::Activities, N_("Activité:"), Field::ActivitiesText, {} },
        { C::Warnings, N_("Alarmes:"), Field::WarningsText, {} },
        { C::Partners, N_("Palanquée:"), Field::Partners, {} },
        { C::Comment, N_("Commentaire:"), Field::Comment, {} },
    };

    DivePageRow unitRow(PageControl controlId, std::string label, std::string value, UnitLabel unit, UnitSystem units)
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
    rows.push_back({ C::File, common::tr(N_(" Fichier:")),
        logbook.isModified() ? cformat("%s *", logbook.path().c_str()) : logbook.path(), PageControl::None, {} });
    rows.push_back(
        { C::DiveCount, common::tr(N_(" Nombre:")), cformat("%d", logbook.diveCount()), PageControl::None, {} });
    rows.push_back(unitRow(C::MeanAirConsumption, common::tr(N_("Cons. moy. globale:")),
        catalogue.meanAirConsumptionText(), { C::MeanAirConsumptionUnit, Quantity::AirConsumption }, units));
    const int total = logbook.totalMinutes();
    rows.push_back({ C::TotalTime, common::tr(N_("Temps total de plongée:")),
        cformat("%d:%02d", total / 60, total % 60), PageControl::None, {} });

    static const DiveRecord blank;
    const DiveRecord *found = logbook.dive(position);
    const DiveRecord &dive = found ? *found : blank;
    const bool showWeights = options.mode == Mode::Advanced && options.weightsSelected;
    for (const FieldRow &row : kFieldRows) {
        if (row.controlId == PageControl::Weights && !showWeights)
            continue;
        std::string value = catalogue.fromRecord(row.field, dive, DateForm::Long);
        if (row.unit)
            rows.push_back(unitRow(row.controlId, common::tr(row.label), std::move(value), *row.unit, units));
        else
            rows.push_back({ row.controlId, common::tr(row.label), std::move(value), PageControl::None, {} });
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
