#include "environment.h"

namespace zorv::cli {

Environment::Environment(const EnvironmentOptions &options)
    : catalogue(transfer::ComputerCatalogue::withBuiltInTypes())
{
    const std::filesystem::path dir
        = options.settingsDir ? *options.settingsDir : settings::settingsDirectory(options.programDir);
    // Missing files are the normal first run: the defaults stand until the first save.
    static_cast<void>(mainIni.load(dir / settings::kSettingsFileName));
    static_cast<void>(catalogueIni.load(dir / settings::kCatalogueFileName));
    settings.loadAll(mainIni, settings::ScreenSize {});
    catalogue.load(catalogueIni);
    catalogue.setNameOverrides(&mainIni);

    if (options.imperial)
        settings.unitSystem = logbook::UnitSystem::Imperial;
    if (options.standard)
        settings.advancedMode = false;
    logbook.setUnitSystem(settings.unitSystem);
    logbook.setMode(settings.advancedMode ? logbook::Mode::Advanced : logbook::Mode::Standard);
    logbook.setComputerInfo(&catalogue);
    logbook.setNewDiveDefaults(settings.newDiveDefaults);
}

} // namespace zorv::cli
