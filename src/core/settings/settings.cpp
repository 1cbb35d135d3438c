#include "settings/settings.h"

#include "common/cformat.h"
#include "common/strings.h"
#include "logbook/oemcharmap.h"

#include <algorithm>
#include <cstdlib>
#include <unistd.h>

namespace zorv::settings {

namespace fs = std::filesystem;

namespace {

    constexpr const char *kProfileColourKeys[]
        = { "Profil", "Clipprofil", "Hintergrund", "Dekolinie", "Text", "Linien", "Warnungen", "Funksignal" };
    constexpr const char *kNoDecoColourKeys[]
        = { "Kurve1", "Kurve2", "Kurve3", "Kurve4", "Kurve5", "Hintergrund", "Text", "Linien" };
    constexpr const char *kStatisticsColourKeys[]
        = { "Süßwasser", "Meerwasser", "Druckkammer", "Unterschnitt", "Überschnitt" };

    struct ColumnGroup {
        const char *prefix;
        int count;
    };
    constexpr ColumnGroup kColumnGroups[]
        = { { "TabSp", 11 }, { "AnzSp", 2 }, { "Tpl1Sp", 2 }, { "Tpl2Sp", 2 }, { "Part1Sp", 2 }, { "Part2Sp", 2 },
              { "InhSp", 3 }, { "AusrSp", 4 }, { "AdrSp", 3 }, { "UrlSp", 3 }, { "NachwSp", 2 }, { "CTypSp", 5 } };
    // The computer-type widths come last and are taken as they are: that list
    // only uses a stored width above 10.
    constexpr int kCheckedColumnWidths = 36;

    enum class Keys {
        FourWithMaximized,
        Four,
        Two,
    };
    struct WindowGroup {
        const char *name;
        Keys keys;
    };
    constexpr WindowGroup kWindowGroups[kWindowCount] = { { "MainWindow", Keys::FourWithMaximized },
        { "ProfilWindow", Keys::FourWithMaximized }, { "CDisplWindow", Keys::Four },
        { "TabWindow", Keys::FourWithMaximized }, { "StatMainWindow", Keys::Two }, { "StatSubWindow", Keys::Two } };

    constexpr int kExternalAppMenuTextId = 62783;

    constexpr std::string_view kView = "Ansicht";
    constexpr std::string_view kTransfer = "Transfer";
    constexpr std::string_view kExcel = "Excel";
    constexpr std::string_view kExtern = "ExternApplication";
    constexpr std::string_view kDefault = "Default";
    constexpr std::string_view kRecent = "Recent File List";
    constexpr std::string_view kTip = "Tip";

    int columnIndex(ColumnList list, int column)
    {
        const auto group = static_cast<std::size_t>(list);
        if (group >= std::size(kColumnGroups) || column < 0 || column >= kColumnGroups[group].count)
            return -1;
        int index = column;
        for (std::size_t g = 0; g < group; ++g)
            index += kColumnGroups[g].count;
        return index;
    }

    template <typename Set, std::size_t N>
    void readColours(const IniFile &ini, std::string_view section, const char *const (&keys)[N], Set &set)
    {
        static_assert(N == Set::size());
        for (std::size_t i = 0; i < N; ++i)
            set.colours[i] = static_cast<Rgb>(ini.readInt(section, keys[i], static_cast<int>(set.colours[i])));
    }

    template <typename Set, std::size_t N>
    void writeColours(IniFile &ini, std::string_view section, const char *const (&keys)[N], const Set &set)
    {
        static_assert(N == Set::size());
        for (std::size_t i = 0; i < N; ++i)
            ini.writeInt(section, keys[i], static_cast<int>(set.colours[i]));
    }

    bool readFlag(const IniFile &ini, std::string_view section, std::string_view key, bool defaultValue)
    {
        return ini.readInt(section, key, defaultValue ? 1 : 0) != 0;
    }

    void writeFlag(IniFile &ini, std::string_view section, std::string_view key, bool value)
    {
        ini.writeInt(section, key, value ? 1 : 0);
    }

    std::string key(const char *window, const char *suffix)
    {
        return std::string(window) + suffix;
    }

    bool isWritableDirectory(const fs::path &dir)
    {
        std::error_code ec;
        return !dir.empty() && fs::is_directory(dir, ec) && ::access(dir.c_str(), W_OK) == 0;
    }

} // namespace

fs::path settingsDirectory(const fs::path &programDir)
{
    if (const char *dir = std::getenv("ZORV_CONFIG_DIR"); dir && *dir)
        return dir;
    if (isWritableDirectory(programDir))
        return programDir;
    if (const char *xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg && fs::path(xdg).is_absolute())
        return fs::path(xdg) / "zorv";
    if (const char *home = std::getenv("HOME"); home && *home)
        return fs::path(home) / ".config" / "zorv";
    // Nowhere better to go; saving will report why it failed.
    return programDir;
}

std::string columnWidthKey(int index)
{
    if (index < 0)
        return {};
    for (const ColumnGroup &group : kColumnGroups) {
        if (index < group.count)
            return common::cformat("%s%02d", group.prefix, index);
        index -= group.count;
    }
    return {};
}

std::string windowSectionName(ScreenSize screen)
{
    return common::cformat("%dx%d", screen.width, screen.height);
}

std::array<int, kColumnWidthCount> Settings::defaultColumnWidths()
{
    std::array<int, kColumnWidthCount> widths;
    widths.fill(-1);
    return widths;
}

std::array<bool, 25> Settings::defaultDataFields()
{
    std::array<bool, 25> fields;
    fields.fill(true);
    return fields;
}

std::array<Settings::RememberedWindow, kWindowCount> Settings::defaultWindows()
{
    std::array<RememberedWindow, kWindowCount> windows {};
    for (std::size_t i = 0; i < windows.size(); ++i)
        if (kWindowGroups[i].keys == Keys::Two)
            windows[i].placement.left = windows[i].placement.top = -1;
    return windows;
}

void Settings::loadAll(const IniFile &ini, ScreenSize screen)
{
    readColours(ini, "Color List Profil", kProfileColourKeys, profileColours);
    readColours(ini, "Color List Nullzeiten", kNoDecoColourKeys, noDecoColours);
    readColours(ini, "Color List Statistik", kStatisticsColourKeys, statisticsColours);

    rememberWindows = readFlag(ini, "Fenster", "Position", rememberWindows);
    profilePreview = readFlag(ini, kView, "Profilvorschau", profilePreview);
    grid = readFlag(ini, kView, "Raster", grid);
    crosshair = readFlag(ini, kView, "Fadenkreuz", crosshair);
    dataWindow = readFlag(ini, kView, "Datenfenster", dataWindow);
    compatibilityNotice = readFlag(ini, kView, "Warnfenster", compatibilityNotice);
    advancedMode = readFlag(ini, kView, "Erweitert", advancedMode);
    currency = ini.readString(kView, "Währung", currency);
    clockBackground = readFlag(ini, kView, "uhrenhintergrund", clockBackground);
    unitSystem = readFlag(ini, kView, "Metrisch", unitSystem == logbook::UnitSystem::Metric)
        ? logbook::UnitSystem::Metric
        : logbook::UnitSystem::Imperial;

    equipmentFile = ini.readString("Ausrüstung", "File", equipmentFile);
    equipmentAutocheck = readFlag(ini, "Ausrüstung", "Autocheck", equipmentAutocheck);
    addressFile = ini.readString("Adressen", "File", addressFile);
    trainingRecordFile = ini.readString("Ausbildungsnachweis", "File", trainingRecordFile);

    csvFields = ini.readInt(kExcel, "Felder", csvFields);
    csvSeparator = ini.readInt(kExcel, "Trenn", csvSeparator);
    csvDecimalSign = ini.readInt(kExcel, "Vorzeichen", csvDecimalSign);
    csvTimeFormat = ini.readInt(kExcel, "Zeitformat", csvTimeFormat);

    comPort = ini.readInt(kTransfer, "Com", comPort);
    serialPort = ini.readString(kTransfer, "Port", serialPort);
    LastTransfer &t = lastTransfer;
    t.serialNumber = ini.readString(kTransfer, "SerNum", t.serialNumber);
    t.computerType = ini.readString(kTransfer, "CTyp", t.computerType);
    t.totalDives = ini.readString(kTransfer, "AnzTG", t.totalDives);
    t.battery = ini.readString(kTransfer, "Batterie", t.battery);
    t.beeper = ini.readString(kTransfer, "Beeper", t.beeper);
    t.unitSystem = ini.readString(kTransfer, "ZSys", t.unitSystem);
    t.maxPpO2 = ini.readString(kTransfer, "ppO2", t.maxPpO2);
    t.airReserve = ini.readString(kTransfer, "Reserve", t.airReserve);
    t.breathing = ini.readString(kTransfer, "Atmung", t.breathing);
    dumpMemory = readFlag(ini, kTransfer, "Dump", dumpMemory);

    importTypeId = ini.readInt("Import", "Typ", importTypeId);
    importUnitSystem = ini.readInt("Import", "System", importUnitSystem);

    externalAppFile = ini.readString(kExtern, "File", externalAppFile);
    externalAppMenuText = ini.readString(kExtern, "Name", externalAppMenuText);
    browserFile = ini.readString(kExtern, "Browser", browserFile);

    // The file keeps the record's own units; only the suit model changes form,
    // from the file's text to the stored character set of the dive record.
    logbook::NewDiveDefaults &d = newDiveDefaults;
    d.apply = readFlag(ini, kDefault, "Use", d.apply);
    d.altitudeClass = static_cast<std::uint8_t>(ini.readInt(kDefault, "Level", d.altitudeClass));
    d.suit = static_cast<std::uint8_t>(ini.readInt(kDefault, "AnzugTyp", d.suit));
    d.model = logbook::displayToStored(ini.readString(kDefault, "Anzug", logbook::storedToDisplay(d.model)));
    d.tankVolume = static_cast<std::int16_t>(ini.readInt(kDefault, "Flaschengroesse", d.tankVolume));
    d.tankMaterial = static_cast<std::uint16_t>(ini.readInt(kDefault, "Flaschenmaterial", d.tankMaterial));
    d.weights = static_cast<std::int16_t>(ini.readInt(kDefault, "Blei", d.weights));
    d.diveTypeMask = static_cast<std::uint16_t>(ini.readInt(kDefault, "TGTyp", d.diveTypeMask));

    printSeparatorLine = readFlag(ini, "Print", "UseLine", printSeparatorLine);

    for (std::size_t i = 0; i < recentFiles.size(); ++i)
        recentFiles[i] = ini.readString(kRecent, common::cformat("File%zu", i + 1), recentFiles[i]);

    for (int i = 0; i < kColumnWidthCount; ++i) {
        auto &width = columnWidths[static_cast<std::size_t>(i)];
        width = ini.readInt("Tabelle", columnWidthKey(i), width);
    }

    windowSection = windowSectionName(screen);
    for (std::size_t i = 0; i < windows.size(); ++i) {
        const char *name = kWindowGroups[i].name;
        WindowPlacement &p = windows[i].placement;
        p.left = ini.readInt(windowSection, key(name, "_x"), p.left);
        p.top = ini.readInt(windowSection, key(name, "_y"), p.top);
        if (kWindowGroups[i].keys == Keys::Two) {
            windows[i].stored = p.left != -1 && p.top != -1;
            continue;
        }
        p.right = ini.readInt(windowSection, key(name, "_dx"), p.right);
        p.bottom = ini.readInt(windowSection, key(name, "_dy"), p.bottom);
        if (kWindowGroups[i].keys == Keys::FourWithMaximized)
            p.maximized = readFlag(ini, windowSection, key(name, "_maximized"), p.maximized);
        windows[i].stored = p.right != 0 && p.bottom != 0;
    }

    for (int i = 0; i < kCheckedColumnWidths; ++i) {
        auto &width = columnWidths[static_cast<std::size_t>(i)];
        if (width < 8 || width > 500)
            width = -1;
    }

    if (externalAppMenuText.empty())
        externalAppMenuText = common::str(kExternalAppMenuTextId);
}

void Settings::saveAll(IniFile &ini) const
{
    writeColours(ini, "Color List Profil", kProfileColourKeys, profileColours);
    writeColours(ini, "Color List Nullzeiten", kNoDecoColourKeys, noDecoColours);
    writeColours(ini, "Color List Statistik", kStatisticsColourKeys, statisticsColours);

    writeFlag(ini, "Fenster", "Position", rememberWindows);
    writeFlag(ini, kView, "Profilvorschau", profilePreview);
    writeFlag(ini, kView, "Raster", grid);
    writeFlag(ini, kView, "Fadenkreuz", crosshair);
    writeFlag(ini, kView, "Datenfenster", dataWindow);
    writeFlag(ini, kView, "Warnfenster", compatibilityNotice);
    writeFlag(ini, kView, "Erweitert", advancedMode);
    ini.writeString(kView, "Währung", currency);
    writeFlag(ini, kView, "uhrenhintergrund", clockBackground);
    writeFlag(ini, kView, "Metrisch", unitSystem == logbook::UnitSystem::Metric);

    ini.writeString("Ausrüstung", "File", equipmentFile);
    writeFlag(ini, "Ausrüstung", "Autocheck", equipmentAutocheck);
    ini.writeString("Adressen", "File", addressFile);
    ini.writeString("Ausbildungsnachweis", "File", trainingRecordFile);

    ini.writeInt(kExcel, "Felder", csvFields);
    ini.writeInt(kExcel, "Trenn", csvSeparator);
    ini.writeInt(kExcel, "Vorzeichen", csvDecimalSign);
    ini.writeInt(kExcel, "Zeitformat", csvTimeFormat);

    ini.writeInt(kTransfer, "Com", comPort);
    ini.writeString(kTransfer, "Port", serialPort);
    const LastTransfer &t = lastTransfer;
    ini.writeString(kTransfer, "SerNum", t.serialNumber);
    ini.writeString(kTransfer, "CTyp", t.computerType);
    ini.writeString(kTransfer, "AnzTG", t.totalDives);
    ini.writeString(kTransfer, "Batterie", t.battery);
    ini.writeString(kTransfer, "Beeper", t.beeper);
    ini.writeString(kTransfer, "ZSys", t.unitSystem);
    ini.writeString(kTransfer, "ppO2", t.maxPpO2);
    ini.writeString(kTransfer, "Reserve", t.airReserve);
    ini.writeString(kTransfer, "Atmung", t.breathing);
    writeFlag(ini, kTransfer, "Dump", dumpMemory);

    ini.writeInt("Import", "Typ", importTypeId);
    ini.writeInt("Import", "System", importUnitSystem);

    ini.writeString(kExtern, "File", externalAppFile);
    ini.writeString(kExtern, "Name", externalAppMenuText);
    ini.writeString(kExtern, "Browser", browserFile);

    const logbook::NewDiveDefaults &d = newDiveDefaults;
    writeFlag(ini, kDefault, "Use", d.apply);
    ini.writeInt(kDefault, "Level", d.altitudeClass);
    ini.writeInt(kDefault, "AnzugTyp", d.suit);
    ini.writeString(kDefault, "Anzug", logbook::storedToDisplay(d.model));
    ini.writeInt(kDefault, "Flaschengroesse", d.tankVolume);
    ini.writeInt(kDefault, "Flaschenmaterial", d.tankMaterial);
    ini.writeInt(kDefault, "Blei", d.weights);
    ini.writeInt(kDefault, "TGTyp", d.diveTypeMask);

    writeFlag(ini, "Print", "UseLine", printSeparatorLine);

    for (int i = 0; i < kColumnWidthCount; ++i)
        ini.writeInt("Tabelle", columnWidthKey(i), columnWidths[static_cast<std::size_t>(i)]);
}

std::optional<WindowPlacement> Settings::placement(Window window) const
{
    const auto &remembered = windows[static_cast<std::size_t>(window)];
    if (!rememberWindows || !remembered.stored)
        return std::nullopt;
    return remembered.placement;
}

void Settings::savePlacement(IniFile &ini, ScreenSize screen, Window window, const WindowPlacement &placement)
{
    const auto i = static_cast<std::size_t>(window);
    const WindowGroup &group = kWindowGroups[i];
    WindowPlacement kept = placement;
    if (group.keys != Keys::FourWithMaximized)
        kept.maximized = false;
    if (group.keys == Keys::Two)
        kept.right = kept.bottom = 0;

    windowSection = windowSectionName(screen);
    ini.writeInt(windowSection, key(group.name, "_x"), kept.left);
    ini.writeInt(windowSection, key(group.name, "_y"), kept.top);
    if (group.keys != Keys::Two) {
        ini.writeInt(windowSection, key(group.name, "_dx"), kept.right);
        ini.writeInt(windowSection, key(group.name, "_dy"), kept.bottom);
    }
    if (group.keys == Keys::FourWithMaximized)
        writeFlag(ini, windowSection, key(group.name, "_maximized"), kept.maximized);
    windows[i] = { true, kept };
}

void Settings::saveRecentFiles(IniFile &ini) const
{
    for (std::size_t i = 0; i < recentFiles.size(); ++i) {
        const std::string name = common::cformat("File%zu", i + 1);
        if (recentFiles[i].empty())
            ini.deleteKey(kRecent, name);
        else
            ini.writeString(kRecent, name, recentFiles[i]);
    }
}

void Settings::addRecentFile(const std::string &path)
{
    if (path.empty())
        return;
    auto end = std::find(recentFiles.begin(), recentFiles.end(), path);
    if (end == recentFiles.end())
        --end;
    std::move_backward(recentFiles.begin(), end, end + 1);
    recentFiles.front() = path;
}

int Settings::columnWidth(ColumnList list, int column) const
{
    const int index = columnIndex(list, column);
    return index < 0 ? -1 : columnWidths[static_cast<std::size_t>(index)];
}

void Settings::setColumnWidth(ColumnList list, int column, int width)
{
    if (const int index = columnIndex(list, column); index >= 0)
        columnWidths[static_cast<std::size_t>(index)] = width;
}

TipState readTipState(const IniFile &ini)
{
    TipState tip;
    tip.startUp = ini.readInt(kTip, "StartUp", tip.startUp);
    tip.filePos = ini.readInt(kTip, "FilePos", tip.filePos);
    tip.timeStamp = ini.readString(kTip, "TimeStamp", tip.timeStamp);
    return tip;
}

void writeTipState(IniFile &ini, const TipState &tip)
{
    ini.writeInt(kTip, "StartUp", tip.startUp);
    ini.writeInt(kTip, "FilePos", tip.filePos);
    ini.writeString(kTip, "TimeStamp", tip.timeStamp);
}

std::string computerTypeName(const IniFile &ini, std::uint8_t typeId, std::string_view fallback)
{
    // An override left empty would blank the name wherever it is shown, so
    // it counts as no override.
    std::string name = ini.readString("Computertyp", common::cformat("CT%03d", typeId));
    return name.empty() ? std::string(fallback) : name;
}

} // namespace zorv::settings
