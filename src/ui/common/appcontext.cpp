#include "ui/common/appcontext.h"

#include "common/atomicfile.h"

namespace zorv::ui {

void AppContext::load(const std::filesystem::path &dir, settings::ScreenSize screen)
{
    configDir = dir;
    // A save that crashed half-way leaves a temporary file beside the settings.
    common::removeStrayTempFiles(dir / settings::kSettingsFileName);
    common::removeStrayTempFiles(dir / settings::kCatalogueFileName);
    mainIni.load(dir / settings::kSettingsFileName);
    catalogueIni.load(dir / settings::kCatalogueFileName);
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

common::SaveResult AppContext::saveAll()
{
    settings.saveAll(mainIni);
    settings.saveRecentFiles(mainIni);
    common::SaveResult result = mainIni.save();
    common::SaveResult catalogueResult = catalogue.save(catalogueIni);
    return result.ok ? catalogueResult : result;
}

} // namespace zorv::ui
