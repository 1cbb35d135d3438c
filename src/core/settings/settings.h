// The program's preferences: where the settings file lives and the settings record it is read into.
#pragma once

#include "canvas/rgb.h"
#include "logbook/newdivedefaults.h"
#include "logbook/unitsystem.h"
#include "settings/inifile.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace zorv::settings {

inline constexpr const char *kSettingsFileName = "Zorv.ini";
inline constexpr const char *kCatalogueFileName = "Ctyp.ini";

// The folder of both settings files: $ZORV_CONFIG_DIR when set; else the
// program's folder, where the files have always been, as long as we may
// write there and it is not an installed bin folder (one beside share/zorv);
// else $XDG_CONFIG_HOME/zorv (~/.config/zorv). The folder is not
// created here; IniFile::save() does that.
std::filesystem::path settingsDirectory(const std::filesystem::path &programDir);

// One set of chart colours, indexed by its role; the order of the roles is the
// order of the colour file and of the dialogs.
template <typename Role, std::size_t N> struct ColourSet {
    std::array<canvas::Rgb, N> colours {};

    static constexpr std::size_t size() { return N; }
    canvas::Rgb &operator[](Role role) { return colours[static_cast<std::size_t>(role)]; }
    canvas::Rgb operator[](Role role) const { return colours[static_cast<std::size_t>(role)]; }
    bool operator==(const ColourSet &) const = default;
};

enum class ProfileColour {
    Profile,
    ClipProfile,
    Background,
    DecoLine,
    Text,
    Lines,
    Warnings,
    RadioSignal,
};
using ProfileColours = ColourSet<ProfileColour, 8>;

enum class NoDecoColour {
    Curve1,
    Curve2,
    Curve3,
    Curve4,
    Curve5,
    Background,
    Text,
    Lines,
};
using NoDecoColours = ColourSet<NoDecoColour, 8>;

enum class StatisticsColour {
    FreshWater,
    SeaWater,
    Chamber,
    BelowAverage,
    AboveAverage,
};
using StatisticsColours = ColourSet<StatisticsColour, 5>;

inline constexpr ProfileColours kDefaultProfileColours { { canvas::rgb(0, 0, 128), canvas::rgb(255, 192, 0),
    canvas::rgb(255, 255, 192), canvas::rgb(255, 0, 0), canvas::rgb(0, 0, 0), canvas::rgb(0, 0, 0),
    canvas::rgb(255, 0, 0), canvas::rgb(255, 192, 0) } };
inline constexpr NoDecoColours kDefaultNoDecoColours { { canvas::rgb(128, 0, 0), canvas::rgb(255, 192, 0),
    canvas::rgb(255, 0, 0), canvas::rgb(0, 0, 128), canvas::rgb(0, 128, 128), canvas::rgb(255, 255, 128),
    canvas::rgb(0, 0, 0), canvas::rgb(0, 0, 0) } };
inline constexpr StatisticsColours kDefaultStatisticsColours { { canvas::rgb(0, 0, 255), canvas::rgb(255, 64, 64),
    canvas::rgb(255, 255, 0), canvas::rgb(0, 255, 0), canvas::rgb(0, 128, 0) } };

// The lists whose column widths are kept in section "Tabelle", in key order.
enum class ColumnList {
    Table, // "TabSp", 11 columns
    Register, // "AnzSp", 2
    Template1, // "Tpl1Sp", 2
    Template2, // "Tpl2Sp", 2
    Partners1, // "Part1Sp", 2
    Partners2, // "Part2Sp", 2
    Contents, // "InhSp", 3
    Equipment, // "AusrSp", 4
    Addresses, // "AdrSp", 3
    Trips, // "UrlSp", 3
    TrainingRecord, // "NachwSp", 2
    ComputerTypes, // "CTypSp", 5
};
inline constexpr int kColumnWidthCount = 41;
// The key of the index-th width, "TabSp00" .. "CTypSp04"; empty outside 0..40.
std::string columnWidthKey(int index);

// The windows that remember where they were.
enum class Window {
    Main, // "MainWindow"
    Profile, // "ProfilWindow"
    ProfileData, // "CDisplWindow", no maximized flag
    Table, // "TabWindow"
    StatisticsChooser, // "StatMainWindow", position only
    StatisticsChart, // "StatSubWindow", position only
};
inline constexpr int kWindowCount = 6;

// right and bottom are edges, not a width and a height, as in the file.
struct WindowPlacement {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool maximized = false;

    bool operator==(const WindowPlacement &) const = default;
};

struct ScreenSize {
    int width = 0;
    int height = 0;
};

// Each screen size keeps its own window positions: "1024x768".
std::string windowSectionName(ScreenSize screen);

// What the last transfer read about the computer, as the transfer dialog shows it.
struct LastTransfer {
    std::string serialNumber; // "SerNum"
    std::string computerType; // "CTyp"
    std::string totalDives; // "AnzTG"
    std::string battery; // "Batterie"
    std::string beeper; // "Beeper"
    std::string unitSystem; // "ZSys"
    std::string maxPpO2; // "ppO2"
    std::string airReserve; // "Reserve"
    std::string breathing; // "Atmung"

    bool operator==(const LastTransfer &) const = default;
};

// The settings record: one instance for the whole run, read at start-up and
// written at exit. Texts are UTF-8 except where a comment says otherwise; the
// German key each member is kept under follows it.
struct Settings {
    // "Color List Profil", "Color List Nullzeiten", "Color List Statistik"
    ProfileColours profileColours = kDefaultProfileColours;
    NoDecoColours noDecoColours = kDefaultNoDecoColours;
    StatisticsColours statisticsColours = kDefaultStatisticsColours;

    bool rememberWindows = true; // "Fenster"/"Position"

    // "Ansicht"
    bool profilePreview = true; // "Profilvorschau"
    bool grid = true; // "Raster"
    bool crosshair = true; // "Fadenkreuz"
    bool dataWindow = true; // "Datenfenster"
    bool compatibilityNotice = true; // "Warnfenster"
    bool advancedMode = true; // "Erweitert"
    std::string currency = "€"; // "Währung"; a stored value is kept as it is
    bool clockBackground = true; // "uhrenhintergrund"
    logbook::UnitSystem unitSystem = logbook::UnitSystem::Metric; // "Metrisch", 1 metric

    std::string equipmentFile; // "Ausrüstung"/"File"
    bool equipmentAutocheck = false; // "Ausrüstung"/"Autocheck"
    std::string addressFile; // "Adressen"/"File"
    std::string trainingRecordFile; // "Ausbildungsnachweis"/"File"

    // "Excel": the CSV export's choices
    int csvFields = 0; // "Felder"
    int csvSeparator = 0; // "Trenn"
    int csvDecimalSign = 0; // "Vorzeichen"
    int csvTimeFormat = 0; // "Zeitformat"

    // "Transfer"
    int comPort = 1; // "Com"
    // "Port": a serial device such as /dev/ttyUSB0; when not empty it wins
    // over comPort, which only numbers the ports of the old program.
    std::string serialPort;
    LastTransfer lastTransfer;
    bool dumpMemory = false; // "Dump"

    // "Import"
    int importTypeId = 177; // "Typ"
    int importUnitSystem = 0; // "System"

    // "ExternApplication"
    std::string externalAppFile; // "File"
    std::string externalAppMenuText; // "Name"; the built-in text when empty
    std::string browserFile; // "Browser"

    // "Default": Use, Level, AnzugTyp, Anzug, Flaschengroesse,
    // Flaschenmaterial, Blei, TGTyp
    logbook::NewDiveDefaults newDiveDefaults;

    bool printSeparatorLine = true; // "Print"/"UseLine"

    // "Recent File List"/"File1".."File8", most recent first. The file dialog
    // code keeps this list, so saveAll() leaves it alone.
    std::array<std::string, 8> recentFiles;

    // "Tabelle": -1 lets a list use its built-in width.
    std::array<int, kColumnWidthCount> columnWidths = defaultColumnWidths();

    // Which data fields the main window shows; never written to the file.
    std::array<bool, 25> dataFields = defaultDataFields();

    // Section of the window positions of the screen size last read or written.
    std::string windowSection;

    struct RememberedWindow {
        bool stored = false;
        WindowPlacement placement;

        bool operator==(const RememberedWindow &) const = default;
    };
    std::array<RememberedWindow, kWindowCount> windows = defaultWindows();

    // Reads every value above except the data fields, then resets widths out
    // of range and fills in the external application's menu text.
    void loadAll(const IniFile &ini, ScreenSize screen);
    // Writes colours, options and widths; window positions are written as
    // each window closes, and the recent files by saveRecentFiles().
    void saveAll(IniFile &ini) const;

    // False when positions are not remembered or this screen size never saw the window.
    std::optional<WindowPlacement> placement(Window window) const;
    // Writes the window's group under the current screen's section and marks it stored.
    void savePlacement(IniFile &ini, ScreenSize screen, Window window, const WindowPlacement &placement);

    void saveRecentFiles(IniFile &ini) const;
    // Puts a path at the head of the recent files, dropping an older entry of it.
    void addRecentFile(const std::string &path);

    int columnWidth(ColumnList list, int column) const;
    void setColumnWidth(ColumnList list, int column, int width);

    static std::array<int, kColumnWidthCount> defaultColumnWidths();
    static std::array<bool, 25> defaultDataFields();
    static std::array<RememberedWindow, kWindowCount> defaultWindows();

    bool operator==(const Settings &) const = default;
};

// Section "Tip" of the tips of the day, read and written by the tips dialog on its own.
struct TipState {
    int startUp = 0; // "StartUp": 0 shows the tips at start-up
    int filePos = 0; // "FilePos": byte offset of the next tip
    std::string timeStamp; // "TimeStamp": the tips file's time, to notice a new file

    bool operator==(const TipState &) const = default;
};
TipState readTipState(const IniFile &ini);
void writeTipState(IniFile &ini, const TipState &tip);

// The user's own name for a computer type ("Computertyp"/"CT%03d"), or fallback.
std::string computerTypeName(const IniFile &ini, std::uint8_t typeId, std::string_view fallback);

// The stored import type ("Import"/"Typ") as a computer type id; nothing when it is out of
// 0..255, and the importer keeps its own.
std::optional<std::uint8_t> importComputerType(int storedTypeId);

} // namespace zorv::settings
