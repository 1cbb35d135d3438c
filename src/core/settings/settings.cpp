#include "settings/settings.h"

#include "common/cformat.h"
#include "common/strings.h"
#include "logbook/oemcharmap.h"

#include <algorithm>
#include <concepts>
#include <cstdlib>
#include <unistd.h>

namespace zorv::settings {

using common::StringId;

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

    // The keys of a window's group, "MainWindow_x" and so on, in file order.
    struct EdgeKey {
        const char *suffix;
        int WindowPlacement::*edge;
    };
    constexpr EdgeKey kEdges[] = { { "_x", &WindowPlacement::left }, { "_y", &WindowPlacement::top },
        { "_dx", &WindowPlacement::right }, { "_dy", &WindowPlacement::bottom } };
    constexpr const char *kMaximizedSuffix = "_maximized";

    constexpr int edgeCount(Keys keys)
    {
        return keys == Keys::Two ? 2 : 4;
    }

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
            set.colours[i] = static_cast<canvas::Rgb>(ini.readInt(section, keys[i], static_cast<int>(set.colours[i])));
    }

    template <typename Set, std::size_t N>
    void writeColours(IniFile &ini, std::string_view section, const char *const (&keys)[N], const Set &set)
    {
        static_assert(N == Set::size());
        for (std::size_t i = 0; i < N; ++i)
            ini.writeInt(section, keys[i], static_cast<int>(set.colours[i]));
    }

    // How a value is kept in the file. Flags are 0 and 1, small numbers are
    // plain decimal, texts are written as they are.
    void readValue(const IniFile &ini, std::string_view section, std::string_view key, bool &value)
    {
        value = ini.readInt(section, key, value ? 1 : 0) != 0;
    }

    void writeValue(IniFile &ini, std::string_view section, std::string_view key, bool value)
    {
        ini.writeInt(section, key, value ? 1 : 0);
    }

    template <std::integral T>
    void readValue(const IniFile &ini, std::string_view section, std::string_view key, T &value)
    {
        value = static_cast<T>(ini.readInt(section, key, static_cast<int>(value)));
    }

    template <std::integral T> void writeValue(IniFile &ini, std::string_view section, std::string_view key, T value)
    {
        ini.writeInt(section, key, static_cast<int>(value));
    }

    void readValue(const IniFile &ini, std::string_view section, std::string_view key, std::string &value)
    {
        value = ini.readString(section, key, value);
    }

    void writeValue(IniFile &ini, std::string_view section, std::string_view key, const std::string &value)
    {
        ini.writeString(section, key, value);
    }

    // "Metrisch" is a flag: 1 for metric.
    void readValue(const IniFile &ini, std::string_view section, std::string_view key, logbook::UnitSystem &value)
    {
        bool metric = value == logbook::UnitSystem::Metric;
        readValue(ini, section, key, metric);
        value = metric ? logbook::UnitSystem::Metric : logbook::UnitSystem::Imperial;
    }

    void writeValue(IniFile &ini, std::string_view section, std::string_view key, logbook::UnitSystem value)
    {
        writeValue(ini, section, key, value == logbook::UnitSystem::Metric);
    }

    // One value of a record in the file. The record's own initialiser is the
    // default: a key the file lacks leaves the member as it was.
    template <typename Record> struct Key {
        std::string_view section;
        std::string_view name;
        void (*read)(const IniFile &, const Key &, Record &);
        void (*write)(IniFile &, const Key &, const Record &);
    };

    // The member reached from a record through a chain of member pointers.
    template <auto First, auto... Rest> constexpr auto &memberOf(auto &object)
    {
        if constexpr (sizeof...(Rest) == 0)
            return object.*First;
        else
            return memberOf<Rest...>(object.*First);
    }

    template <typename Record, auto... Path> constexpr Key<Record> key(std::string_view section, std::string_view name)
    {
        return { section, name,
            [](const IniFile &ini, const Key<Record> &k, Record &record) {
                readValue(ini, k.section, k.name, memberOf<Path...>(record));
            },
            [](IniFile &ini, const Key<Record> &k, const Record &record) {
                writeValue(ini, k.section, k.name, memberOf<Path...>(record));
            } };
    }

    // A text the record keeps in the stored (OEM) character set, as dives
    // hold it, while the file has it in the displayed one.
    template <typename Record, auto... Path>
    constexpr Key<Record> storedTextKey(std::string_view section, std::string_view name)
    {
        return { section, name,
            [](const IniFile &ini, const Key<Record> &k, Record &record) {
                std::string &text = memberOf<Path...>(record);
                text = logbook::displayToStored(ini.readString(k.section, k.name, logbook::storedToDisplay(text)));
            },
            [](IniFile &ini, const Key<Record> &k, const Record &record) {
                ini.writeString(k.section, k.name, logbook::storedToDisplay(memberOf<Path...>(record)));
            } };
    }

    constexpr std::string_view kView = "Ansicht";
    constexpr std::string_view kTransfer = "Transfer";
    constexpr std::string_view kExcel = "Excel";
    constexpr std::string_view kExtern = "ExternApplication";
    constexpr std::string_view kDefault = "Default";
    constexpr std::string_view kRecent = "Recent File List";
    constexpr std::string_view kTip = "Tip";

    using S = Settings;
    using T = LastTransfer;
    using D = logbook::NewDiveDefaults;

    // The plain values of the settings record, in the order the file has
    // always had them: a new file lists its keys in this order.
    const Key<Settings> kSettingsKeys[] = {
        key<S, &S::rememberWindows>("Fenster", "Position"),
        key<S, &S::profilePreview>(kView, "Profilvorschau"),
        key<S, &S::grid>(kView, "Raster"),
        key<S, &S::crosshair>(kView, "Fadenkreuz"),
        key<S, &S::dataWindow>(kView, "Datenfenster"),
        key<S, &S::compatibilityNotice>(kView, "Warnfenster"),
        key<S, &S::advancedMode>(kView, "Erweitert"),
        key<S, &S::currency>(kView, "Währung"),
        key<S, &S::clockBackground>(kView, "uhrenhintergrund"),
        key<S, &S::unitSystem>(kView, "Metrisch"),

        key<S, &S::equipmentFile>("Ausrüstung", "File"),
        key<S, &S::equipmentAutocheck>("Ausrüstung", "Autocheck"),
        key<S, &S::addressFile>("Adressen", "File"),
        key<S, &S::trainingRecordFile>("Ausbildungsnachweis", "File"),

        key<S, &S::csvFields>(kExcel, "Felder"),
        key<S, &S::csvSeparator>(kExcel, "Trenn"),
        key<S, &S::csvDecimalSign>(kExcel, "Vorzeichen"),
        key<S, &S::csvTimeFormat>(kExcel, "Zeitformat"),

        key<S, &S::comPort>(kTransfer, "Com"),
        key<S, &S::serialPort>(kTransfer, "Port"),
        key<S, &S::lastTransfer, &T::serialNumber>(kTransfer, "SerNum"),
        key<S, &S::lastTransfer, &T::computerType>(kTransfer, "CTyp"),
        key<S, &S::lastTransfer, &T::totalDives>(kTransfer, "AnzTG"),
        key<S, &S::lastTransfer, &T::battery>(kTransfer, "Batterie"),
        key<S, &S::lastTransfer, &T::beeper>(kTransfer, "Beeper"),
        key<S, &S::lastTransfer, &T::unitSystem>(kTransfer, "ZSys"),
        key<S, &S::lastTransfer, &T::maxPpO2>(kTransfer, "ppO2"),
        key<S, &S::lastTransfer, &T::airReserve>(kTransfer, "Reserve"),
        key<S, &S::lastTransfer, &T::breathing>(kTransfer, "Atmung"),
        key<S, &S::dumpMemory>(kTransfer, "Dump"),

        key<S, &S::importTypeId>("Import", "Typ"),
        key<S, &S::importUnitSystem>("Import", "System"),

        key<S, &S::externalAppFile>(kExtern, "File"),
        key<S, &S::externalAppMenuText>(kExtern, "Name"),
        key<S, &S::browserFile>(kExtern, "Browser"),

        // The file keeps the record's own units; only the suit model changes
        // form, from the file's text to the stored character set of dives.
        key<S, &S::newDiveDefaults, &D::apply>(kDefault, "Use"),
        key<S, &S::newDiveDefaults, &D::altitudeClass>(kDefault, "Level"),
        key<S, &S::newDiveDefaults, &D::suit>(kDefault, "AnzugTyp"),
        storedTextKey<S, &S::newDiveDefaults, &D::model>(kDefault, "Anzug"),
        key<S, &S::newDiveDefaults, &D::tankVolume>(kDefault, "Flaschengroesse"),
        key<S, &S::newDiveDefaults, &D::tankMaterial>(kDefault, "Flaschenmaterial"),
        key<S, &S::newDiveDefaults, &D::weights>(kDefault, "Blei"),
        key<S, &S::newDiveDefaults, &D::diveTypeMask>(kDefault, "TGTyp"),

        key<S, &S::printSeparatorLine>("Print", "UseLine"),
    };

    const Key<TipState> kTipKeys[] = {
        key<TipState, &TipState::startUp>(kTip, "StartUp"),
        key<TipState, &TipState::filePos>(kTip, "FilePos"),
        key<TipState, &TipState::timeStamp>(kTip, "TimeStamp"),
    };

    template <typename Record, std::size_t N>
    void readKeys(const IniFile &ini, const Key<Record> (&keys)[N], Record &record)
    {
        for (const Key<Record> &k : keys)
            k.read(ini, k, record);
    }

    template <typename Record, std::size_t N>
    void writeKeys(IniFile &ini, const Key<Record> (&keys)[N], const Record &record)
    {
        for (const Key<Record> &k : keys)
            k.write(ini, k, record);
    }

    std::string windowKey(const char *window, const char *suffix)
    {
        return std::string(window) + suffix;
    }

    bool isWritableDirectory(const fs::path &dir)
    {
        std::error_code ec;
        return !dir.empty() && fs::is_directory(dir, ec) && ::access(dir.c_str(), W_OK) == 0;
    }

    // An installed program (its data in ../share/zorv, as in /usr/bin) shares its folder with
    // every user and every other program: settings never go there, not even root's.
    bool isInstalledProgramFolder(const fs::path &dir)
    {
        std::error_code ec;
        return fs::is_directory(dir.parent_path() / "share" / "zorv", ec);
    }

} // namespace

fs::path settingsDirectory(const fs::path &programDir)
{
    if (const char *dir = std::getenv("ZORV_CONFIG_DIR"); dir && *dir)
        return dir;
    if (isWritableDirectory(programDir) && !isInstalledProgramFolder(programDir))
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

    readKeys(ini, kSettingsKeys, *this);

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
        const Keys keys = kWindowGroups[i].keys;
        for (int e = 0; e < edgeCount(keys); ++e)
            readValue(ini, windowSection, windowKey(name, kEdges[e].suffix), p.*kEdges[e].edge);
        if (keys == Keys::FourWithMaximized)
            readValue(ini, windowSection, windowKey(name, kMaximizedSuffix), p.maximized);
        if (keys == Keys::Two) {
            windows[i].stored = p.left != -1 && p.top != -1;
            continue;
        }
        windows[i].stored = p.right != 0 && p.bottom != 0;
    }

    for (int i = 0; i < kCheckedColumnWidths; ++i) {
        auto &width = columnWidths[static_cast<std::size_t>(i)];
        if (width < 8 || width > 500)
            width = -1;
    }

    if (externalAppMenuText.empty())
        externalAppMenuText = common::str(StringId::ExternalProgramMenu);
}

void Settings::saveAll(IniFile &ini) const
{
    writeColours(ini, "Color List Profil", kProfileColourKeys, profileColours);
    writeColours(ini, "Color List Nullzeiten", kNoDecoColourKeys, noDecoColours);
    writeColours(ini, "Color List Statistik", kStatisticsColourKeys, statisticsColours);

    writeKeys(ini, kSettingsKeys, *this);

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
    for (int e = 0; e < edgeCount(group.keys); ++e)
        writeValue(ini, windowSection, windowKey(group.name, kEdges[e].suffix), kept.*kEdges[e].edge);
    if (group.keys == Keys::FourWithMaximized)
        writeValue(ini, windowSection, windowKey(group.name, kMaximizedSuffix), kept.maximized);
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
    readKeys(ini, kTipKeys, tip);
    return tip;
}

void writeTipState(IniFile &ini, const TipState &tip)
{
    writeKeys(ini, kTipKeys, tip);
}

std::string computerTypeName(const IniFile &ini, std::uint8_t typeId, std::string_view fallback)
{
    // An override left empty would blank the name wherever it is shown, so
    // it counts as no override.
    std::string name = ini.readString("Computertyp", common::cformat("CT%03d", typeId));
    return name.empty() ? std::string(fallback) : name;
}

std::optional<std::uint8_t> importComputerType(int storedTypeId)
{
    if (storedTypeId < 0 || storedTypeId > 255)
        return std::nullopt;
    return static_cast<std::uint8_t>(storedTypeId);
}

} // namespace zorv::settings
