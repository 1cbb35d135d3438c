#include "settings/options.h"

#include "common/translation.h"
#include "logbook/fieldcatalogue.h"
#include "logbook/names.h"
#include "logbook/oemcharmap.h"

#include <array>

namespace zorv::settings {

namespace {

    constexpr std::size_t kModelLength = 25;

    constexpr std::array<const char *, kDataFieldCount> kDataFieldLabels {
        N_("Heure"),
        N_("Lieu"),
        N_("Site"),
        N_("Niveau d'altitude"),
        N_("Intervalle"),
        N_("Temps"),
        N_("Temp. air"),
        N_("Combinaison"),
        N_("Marque"),
        N_("Cont. bouteille"),
        N_("Pression"),
        N_("Mat. bouteille"),
        N_("Visibilité"),
        N_("&Plombs"),
        N_("Prof. max."),
        N_("Ø Prof."),
        N_("Durée"),
        N_("Temp. min. eau"),
        N_("Consommation air"),
        N_("Cons.Moy"),
        N_("Type de plongée"),
        N_("Activité"),
        N_("Alarmes"),
        N_("Palanquée"),
        N_("Commentaire"),
    };

    TypeChoice groupChoice(std::uint16_t mask, int firstBit)
    {
        if (mask & (1u << firstBit))
            return TypeChoice::First;
        if (mask & (1u << (firstBit + 1)))
            return TypeChoice::Second;
        return TypeChoice::Neither;
    }

    std::uint16_t groupBits(TypeChoice choice, int firstBit)
    {
        switch (choice) {
        case TypeChoice::First:
            return static_cast<std::uint16_t>(1u << firstBit);
        case TypeChoice::Second:
            return static_cast<std::uint16_t>(1u << (firstBit + 1));
        case TypeChoice::Neither:
            break;
        }
        return 0;
    }

    int indexOrNone(int index, int count)
    {
        return index > 0 && index < count ? index : 0;
    }

    // The defaults only know "a value" or "none": the missing mark and values
    // that make no sense for a new dive both mean none.
    std::int16_t defaultValue(std::int16_t parsed)
    {
        return parsed == logbook::kMissing || parsed < 0 ? std::int16_t { 0 } : parsed;
    }

    std::string shownTankVolume(std::int16_t value, const logbook::FieldCatalogue &catalogue)
    {
        if (value == 0)
            return {};
        logbook::DiveRecord record;
        record.tankVolume = value;
        return catalogue.fromRecord(logbook::Field::TankVolume, record);
    }

    std::string shownWeights(std::int16_t value, const logbook::FieldCatalogue &catalogue)
    {
        if (value == 0)
            return {};
        logbook::DiveRecord record;
        record.extra.weights = value;
        return catalogue.fromRecord(logbook::Field::Weights, record);
    }

} // namespace

int acceptComPort(int typed, int previous)
{
    return typed >= kFirstComPort && typed <= kLastComPort ? typed : previous;
}

OptionsForm optionsForm(const Settings &settings)
{
    OptionsForm form;
    form.units = settings.unitSystem;
    form.currency = settings.currency;
    form.advancedMode = settings.advancedMode;
    form.rememberWindows = settings.rememberWindows;
    form.browserFile = settings.browserFile;
    form.externalAppFile = settings.externalAppFile;
    form.externalAppMenuText = settings.externalAppMenuText;
    form.comPort = settings.comPort;
    form.dumpMemory = settings.dumpMemory;
    return form;
}

void applyOptionsForm(const OptionsForm &form, Settings &settings)
{
    settings.unitSystem = form.units;
    settings.currency = form.currency;
    settings.advancedMode = form.advancedMode;
    settings.rememberWindows = form.rememberWindows;
    settings.browserFile = form.browserFile;
    settings.externalAppFile = form.externalAppFile;
    settings.externalAppMenuText = form.externalAppMenuText;
    settings.comPort = acceptComPort(form.comPort, settings.comPort);
    settings.dumpMemory = form.dumpMemory;
}

std::vector<FileFilter> parseFileFilter(std::string_view filter)
{
    std::vector<std::string_view> parts;
    while (!filter.empty()) {
        const std::size_t bar = filter.find('|');
        parts.push_back(filter.substr(0, bar));
        if (bar == std::string_view::npos)
            break;
        filter.remove_prefix(bar + 1);
    }
    std::vector<FileFilter> filters;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        // The list ends at the first empty label ("||").
        if (parts[i].empty())
            break;
        filters.push_back({ std::string(parts[i]), std::string(parts[i + 1]) });
    }
    return filters;
}

std::vector<std::string> fileDialogNameFilters(std::string_view filter)
{
    std::vector<std::string> names;
    for (FileFilter &entry : parseFileFilter(filter)) {
        std::string pattern = entry.pattern == "*.*" ? "*" : entry.pattern;
        // The dialog reads the pattern from the parentheses, so they must hold the one it should use.
        std::string label = entry.label;
        const std::size_t open = label.rfind(" (");
        if (open != std::string::npos && label.back() == ')')
            label.resize(open);
        names.push_back(label + " (" + pattern + ")");
    }
    return names;
}

std::string_view dataFieldLabel(int index)
{
    if (index < 0 || index >= kDataFieldCount)
        return {};
    return common::tr(kDataFieldLabels[static_cast<std::size_t>(index)]);
}

DiveTypeChoices diveTypeChoices(std::uint16_t mask)
{
    return { groupChoice(mask, 2), groupChoice(mask, 4), groupChoice(mask, 6) };
}

std::uint16_t diveTypeMask(const DiveTypeChoices &choices)
{
    return static_cast<std::uint16_t>(
        groupBits(choices.decompression, 2) | groupBits(choices.ascent, 4) | groupBits(choices.water, 6));
}

NewDiveDefaultsForm newDiveDefaultsForm(const logbook::NewDiveDefaults &defaults, logbook::UnitSystem units)
{
    const logbook::FieldCatalogue catalogue(units);
    NewDiveDefaultsForm form;
    form.use = defaults.apply;
    form.altitudeClass = indexOrNone(defaults.altitudeClass, logbook::names::kAltitudeClassCount);
    form.suit = indexOrNone(defaults.suit, logbook::names::kSuitCount);
    form.model = logbook::storedToDisplay(defaults.model);
    form.tankVolume = shownTankVolume(defaults.tankVolume, catalogue);
    form.tankMaterial = indexOrNone(defaults.tankMaterial, logbook::names::kTankMaterialCount);
    form.weights = shownWeights(defaults.weights, catalogue);
    form.diveTypes = diveTypeChoices(defaults.diveTypeMask);
    return form;
}

logbook::NewDiveDefaults newDiveDefaults(
    const NewDiveDefaultsForm &form, logbook::UnitSystem units, const logbook::NewDiveDefaults &previous)
{
    const logbook::FieldCatalogue catalogue(units);
    logbook::NewDiveDefaults defaults;
    defaults.apply = form.use;
    defaults.altitudeClass
        = static_cast<std::uint8_t>(indexOrNone(form.altitudeClass, logbook::names::kAltitudeClassCount));
    defaults.suit = static_cast<std::uint8_t>(indexOrNone(form.suit, logbook::names::kSuitCount));
    defaults.tankMaterial
        = static_cast<std::uint16_t>(indexOrNone(form.tankMaterial, logbook::names::kTankMaterialCount));

    std::string model = logbook::displayToStored(form.model);
    if (model.size() > kModelLength)
        model.resize(kModelLength);
    defaults.model = std::move(model);

    if (form.tankVolume == shownTankVolume(previous.tankVolume, catalogue)) {
        defaults.tankVolume = previous.tankVolume;
    } else {
        logbook::DiveRecord record;
        // A value that does not read leaves the default unset, as an empty field does.
        if (catalogue.toRecord(logbook::Field::TankVolume, form.tankVolume, record) != logbook::Parsed::Stored)
            record = logbook::DiveRecord {};
        defaults.tankVolume = defaultValue(record.tankVolume);
    }
    if (form.weights == shownWeights(previous.weights, catalogue)) {
        defaults.weights = previous.weights;
    } else {
        logbook::DiveRecord record;
        // A value that does not read leaves the default unset, as an empty field does.
        if (catalogue.toRecord(logbook::Field::Weights, form.weights, record) != logbook::Parsed::Stored)
            record = logbook::DiveRecord {};
        defaults.weights = defaultValue(record.extra.weights);
    }
    defaults.diveTypeMask = diveTypeMask(form.diveTypes);
    return defaults;
}

common::Result checkNewDiveDefaultsForm(const NewDiveDefaultsForm &form, logbook::UnitSystem units)
{
    const logbook::FieldCatalogue catalogue(units);
    logbook::DiveRecord scratch;
    if (common::Result tank
        = catalogue.readTyped(logbook::Field::TankVolume, form.tankVolume, "Cont. bouteille", scratch);
        !tank)
        return tank;
    return catalogue.readTyped(logbook::Field::Weights, form.weights, "Plombs", scratch);
}

std::vector<std::string> altitudeClassEntries(logbook::UnitSystem units)
{
    std::vector<std::string> entries;
    entries.reserve(logbook::names::kAltitudeClassCount);
    entries.emplace_back();
    for (int index = 1; index < logbook::names::kAltitudeClassCount; ++index)
        entries.emplace_back(logbook::names::altitudeClass(index, units));
    return entries;
}

} // namespace zorv::settings
