#include "ui/common/appcontext.h"

namespace zorv::ui {

app::SettingsLoadReport AppContext::load(const std::filesystem::path &dir, settings::ScreenSize screen)
{
    configDir = dir;
    app::SettingsLoadReport report = StartSettings::load(dir, screen);
    applySettingsToLogbook();
    return report;
}

void AppContext::applySettingsToLogbook()
{
    applyTo(logbook);
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
