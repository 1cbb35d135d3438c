#include "ui/common/appcontext.h"

#include "common/atomicfile.h"

namespace zorv::ui {

void AppContext::load(const std::filesystem::path &dir, settings::ScreenSize screen)
{
    configDir = dir;
    // A save that crashed half-way leaves a temporary file beside the settings.
    common::removeStrayTempFiles(dir / settings::kSettingsFileName);
    common::removeStrayTempFiles(dir / settings::kCatalogueFileName);
    // Missing files are the normal first run: the defaults stand until the first save.
    static_cast<void>(mainIni.load(dir / settings::kSettingsFileName));
    static_cast<void>(catalogueIni.load(dir / settings::kCatalogueFileName));
    settings.loadAll(mainIni, screen);
    catalogue.load(catalogueIni);
    catalogue.setNameOverrides(&mainIni);
    logbook.setComputerInfo(&catalogue);
    applySettingsToLogbook();
}

void AppContext::applySettingsToLogbook()
{
    logbook.setUnitSystem(settings.unitSystem);
    logbook.setMode(settings.advancedMode ? logbook::Mode::Advanced : logbook::Mode::Standard);
    logbook.setNewDiveDefaults(settings.newDiveDefaults);
}

common::Result AppContext::saveAll()
{
    settings.saveAll(mainIni);
    settings.saveRecentFiles(mainIni);
    common::Result result = mainIni.save();
    common::Result catalogueResult = catalogue.save(catalogueIni);
    return result.ok() ? catalogueResult : result;
}

} // namespace zorv::ui
