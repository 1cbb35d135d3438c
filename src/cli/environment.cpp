#include "environment.h"

#include "common/fileset.h"

#include <iostream>

namespace zorv::cli {

int fail(const std::string &message, int code)
{
    std::cerr << "zorv-cli: " << message << "\n";
    return code;
}

Environment::Environment(const EnvironmentOptions &options)
    : catalogue(computers::ComputerCatalogue::withBuiltInTypes())
{
    const std::filesystem::path dir
        = options.settingsDir ? *options.settingsDir : settings::settingsDirectory(options.programDir);
    // Missing files are the normal first run: the defaults stand until the first save.
    for (settings::IniFile *ini : { &mainIni, &catalogueIni }) {
        const std::filesystem::path path
            = dir / (ini == &mainIni ? settings::kSettingsFileName : settings::kCatalogueFileName);
        if (const common::Result usable = common::checkRegularFile(path, common::kMaxSettingsFileSize); !usable)
            std::cerr << "zorv-cli: warning: " << usable.message() << " The defaults are used.\n";
        static_cast<void>(ini->load(path));
    }
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
