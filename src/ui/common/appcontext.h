// Everything the desktop program keeps for the whole run: settings, computer catalogue and the one logbook.
#pragma once

#include "app/startsettings.h"
#include "logbook/logbook.h"
#include "profile/profileclipboard.h"
#include "tools/diveeditform.h"

#include <filesystem>

namespace zorv::ui {

// One instance, created at start-up and alive until the program ends. Windows
// receive it by reference; none keeps a pointer into the logbook's dives.
// The ini files, settings and computer catalogue come from the loader zorv-cli uses too.
struct AppContext : app::StartSettings {
    logbook::Logbook logbook;
    std::filesystem::path configDir; // where Zorv.ini, Ctyp.ini live
    std::filesystem::path programDir; // where tips.txt and the program live

    // The profile window's second profile and whether it is laid over the
    // current dive: both outlive the window and the dive they were copied from.
    struct SecondProfile {
        profile::ProfileClipboard clipboard;
        bool shown = false;
    } secondProfile;

    // The date offered to the next new dive: today at first, then the last one typed.
    std::uint32_t lastNewDiveDate = 0;
    // The edit dialog's two switches hold from one dialog to the next until the program ends.
    tools::DiveEditSwitches diveEditSwitches;

    // Reads both ini files from `dir` and applies the settings to the logbook; the
    // report's warnings are for the caller to show.
    app::SettingsLoadReport load(const std::filesystem::path &dir, settings::ScreenSize screen);
    // Pushes the settings that the logbook depends on (units, mode, defaults).
    void applySettingsToLogbook();
    // Writes the whole settings record and the catalogue, as at exit.
    common::Result saveAll();
};

} // namespace zorv::ui
