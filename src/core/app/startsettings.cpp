#include "app/startsettings.h"

#include "common/atomicfile.h"
#include "common/fileset.h"
#include "common/translation.h"

namespace zorv::app {

SettingsLoadReport StartSettings::load(const std::filesystem::path &dir, settings::ScreenSize screen)
{
    SettingsLoadReport report;
    report.dir = dir;
    // A save that crashed half-way leaves a temporary file beside the settings.
    common::removeStrayTempFiles(dir / settings::kSettingsFileName);

    const auto read = [&](settings::IniFile &ini, const char *name) {
        const std::filesystem::path path = dir / name;
        // A FIFO or a huge file is not read, and the ini file refuses to save over it later.
        if (const common::Result usable = common::checkRegularFile(path, common::kMaxSettingsFileSize); !usable)
            report.warnings.push_back(usable.message()
                + common::tr(" Les réglages par défaut sont utilisés, et ce fichier ne sera pas modifié."));
        return ini.load(path).ok();
    };
    report.settingsFileRead = read(mainIni, settings::kSettingsFileName);
    report.catalogueFileRead = read(catalogueIni, settings::kCatalogueFileName);

    settings.loadAll(mainIni, screen);
    catalogue.load(catalogueIni);
    catalogue.setNameOverrides(&mainIni);
    return report;
}

void StartSettings::applyTo(logbook::Logbook &book) const
{
    book.setComputerInfo(&catalogue);
    book.setUnitSystem(settings.unitSystem);
    book.setMode(settings.advancedMode ? logbook::Mode::Advanced : logbook::Mode::Standard);
    book.setNewDiveDefaults(settings.newDiveDefaults);
}

} // namespace zorv::app
