#include "logbook/oemcharmap.h"
#include "settings/settings.h"
#include "testutil.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>
#include <tuple>

using namespace zorv::settings;
using zorv::test::TempDir;

namespace {

constexpr ScreenSize kXga { 1024, 768 };
constexpr ScreenSize kSxga { 1280, 1024 };

IniFile parsed(const std::string &bytes)
{
    IniFile ini;
    ini.parse(bytes);
    return ini;
}

Settings loaded(const IniFile &ini, ScreenSize screen = kXga)
{
    Settings settings;
    settings.loadAll(ini, screen);
    return settings;
}

// Sets an environment variable for one test and puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char *name, const char *value)
        : m_name(name)
    {
        if (const char *old = std::getenv(name))
            m_old = old;
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedEnv()
    {
        if (m_old)
            setenv(m_name, m_old->c_str(), 1);
        else
            unsetenv(m_name);
    }

private:
    const char *m_name;
    std::optional<std::string> m_old;
};

// A record in which every value the settings file keeps differs from a fresh install's.
Settings everyValueChanged()
{
    Settings s;
    s.profileColours[ProfileColour::Warnings] = zorv::canvas::rgb(1, 2, 3);
    s.noDecoColours[NoDecoColour::Curve1] = zorv::canvas::rgb(4, 5, 6);
    s.statisticsColours[StatisticsColour::AboveAverage] = zorv::canvas::rgb(7, 8, 9);
    s.rememberWindows = false;
    s.profilePreview = false;
    s.grid = false;
    s.crosshair = false;
    s.dataWindow = false;
    s.compatibilityNotice = false;
    s.advancedMode = false;
    s.currency = "CHF";
    s.clockBackground = false;
    s.unitSystem = zorv::logbook::UnitSystem::Imperial;
    s.equipmentFile = "/home/ä/equip.dat";
    s.equipmentAutocheck = true;
    s.addressFile = "/home/ä/adr.dat";
    s.trainingRecordFile = "/home/ä/nachweis.dat";
    s.csvFields = 1;
    s.csvSeparator = 2;
    s.csvDecimalSign = 1;
    s.csvTimeFormat = 3;
    s.comPort = 4;
    s.serialPort = "/dev/ttyUSB0";
    s.lastTransfer = { "12345", "Typ 7", "311", "OK", "An", "Metrisch", "1.6", "50 bar", "Normal" };
    s.dumpMemory = true;
    s.importTypeId = 178;
    s.importUnitSystem = 1;
    s.externalAppFile = "/usr/bin/planer";
    s.externalAppMenuText = "&Planer";
    s.browserFile = "/usr/bin/firefox";
    s.newDiveDefaults = { true, 2, 3, 1200, 1, 450, zorv::logbook::displayToStored("Néoprène 7 mm"), 0x24 };
    s.printSeparatorLine = false;
    for (int i = 0; i < kColumnWidthCount; ++i)
        s.columnWidths[static_cast<std::size_t>(i)] = 20 + i;
    return s;
}

} // namespace

TEST(Settings, ResetsColumnWidthsOutOfRange)
{
    const IniFile ini = parsed("[Tabelle]\n"
                               "TabSp00=7\nTabSp01=8\nTabSp02=500\nTabSp03=501\nTabSp04=-20\n"
                               "NachwSp01=5000\n"
                               "CTypSp00=7\nCTypSp04=9999\n");
    const Settings s = loaded(ini);
    using L = ColumnList;
    const std::tuple<ColumnList, int, int> widths[] = { { L::Table, 0, -1 }, { L::Table, 1, 8 }, { L::Table, 2, 500 },
        { L::Table, 3, -1 }, { L::Table, 4, -1 }, { L::TrainingRecord, 1, -1 }, { L::ComputerTypes, 0, 7 },
        { L::ComputerTypes, 4, 9999 }, { L::ComputerTypes, 5, -1 } };
    for (const auto &[list, column, width] : widths)
        EXPECT_EQ(s.columnWidth(list, column), width) << column;
    EXPECT_EQ(columnWidthKey(35), "NachwSp01");
    EXPECT_EQ(columnWidthKey(40), "CTypSp04");
    EXPECT_EQ(columnWidthKey(41), "");
}

TEST(Settings, WindowPositionsBelongToTheScreenSize)
{
    IniFile ini = parsed("[1024x768]\n"
                         "MainWindow_x=10\nMainWindow_y=20\nMainWindow_dx=810\nMainWindow_dy=620\n"
                         "MainWindow_maximized=1\n"
                         "ProfilWindow_x=5\nProfilWindow_dx=0\nProfilWindow_dy=300\n"
                         "StatMainWindow_x=0\nStatMainWindow_y=0\n"
                         "StatSubWindow_x=40\n");
    Settings s = loaded(ini, kXga);
    EXPECT_EQ(s.placement(Window::Main), (WindowPlacement { 10, 20, 810, 620, true }));
    // A zero right edge means never stored; -1 does for the statistics windows.
    EXPECT_FALSE(s.placement(Window::Profile));
    ASSERT_TRUE(s.placement(Window::StatisticsChooser));
    EXPECT_EQ(s.placement(Window::StatisticsChooser)->left, 0);
    EXPECT_FALSE(s.placement(Window::StatisticsChart));

    // The same file seen on a bigger screen has nothing stored.
    s = loaded(ini, kSxga);
    EXPECT_EQ(s.windowSection, "1280x1024");
    EXPECT_FALSE(s.placement(Window::Main));
    s.savePlacement(ini, kSxga, Window::Main, { 1, 2, 1001, 702, false });
    s.savePlacement(ini, kSxga, Window::ProfileData, { 3, 4, 5, 6, true });
    s.savePlacement(ini, kSxga, Window::StatisticsChart, { 7, 8, 9, 10, true });
    EXPECT_EQ(s.placement(Window::Main), (WindowPlacement { 1, 2, 1001, 702, false }));

    const IniFile reread = parsed(ini.serialise());
    EXPECT_EQ(reread.keyNames("1280x1024"),
        (std::vector<std::string> { "MainWindow_x", "MainWindow_y", "MainWindow_dx", "MainWindow_dy",
            "MainWindow_maximized", "CDisplWindow_x", "CDisplWindow_y", "CDisplWindow_dx", "CDisplWindow_dy",
            "StatSubWindow_x", "StatSubWindow_y" }));
    EXPECT_EQ(reread.readInt("1024x768", "MainWindow_dx", 0), 810);
    EXPECT_EQ(loaded(reread, kXga).windows, loaded(ini, kXga).windows);
    Settings big = loaded(reread, kSxga);
    EXPECT_EQ(big.placement(Window::StatisticsChart), (WindowPlacement { 7, 8, 0, 0, false }));
}

TEST(Settings, PositionZeroStoresButNeverRestores)
{
    IniFile ini = parsed("[Fenster]\nPosition=0\n"
                         "[1024x768]\nTabWindow_x=1\nTabWindow_y=1\nTabWindow_dx=500\nTabWindow_dy=400\n");
    Settings s = loaded(ini);
    EXPECT_FALSE(s.placement(Window::Table));
    s.savePlacement(ini, kXga, Window::Table, { 2, 2, 600, 500, true });
    EXPECT_EQ(ini.readInt("1024x768", "TabWindow_dx", 0), 600);
    EXPECT_EQ(ini.readInt("1024x768", "TabWindow_maximized", 0), 1);
    EXPECT_FALSE(s.placement(Window::Table));
    s.rememberWindows = true;
    EXPECT_TRUE(s.placement(Window::Table));
}

TEST(Settings, SaveAllWritesWhatLoadAllReads)
{
    TempDir dir;
    IniFile ini(dir / kSettingsFileName);
    Settings s = loaded(ini);
    s.recentFiles[0] = "/logs/a.log";
    s.savePlacement(ini, kXga, Window::Main, { 1, 2, 3, 4, false });
    s.saveAll(ini);
    ASSERT_TRUE(ini.save());

    const IniFile reread(dir / kSettingsFileName);
    // The menu text filled in for an empty "Name" is what goes back to the file.
    EXPECT_EQ(reread.readString("ExternApplication", "Name"), "Programme e&xterne");
    // The recent files have a writer of their own; positions are written as windows close.
    EXPECT_FALSE(reread.hasSection("Recent File List"));
    EXPECT_EQ(loaded(reread).placement(Window::Main), (WindowPlacement { 1, 2, 3, 4, false }));
}

TEST(Settings, EveryValueSurvivesTheFile)
{
    Settings changed = everyValueChanged();
    IniFile ini;
    changed.saveAll(ini);
    // The window section is not saved; it names the screen the file is read on.
    changed.windowSection = windowSectionName(kXga);
    EXPECT_EQ(loaded(parsed(ini.serialise())), changed);
    // Nothing is written that a fresh record would not read back as it was.
    IniFile fresh;
    Settings().saveAll(fresh);
    EXPECT_EQ(loaded(parsed(fresh.serialise())), loaded(IniFile()));
}

// A new installation counts in euros; a currency the diver chose earlier stays, the old default included.
TEST(Settings, TheEuroIsOnlyTheDefault)
{
    EXPECT_EQ(loaded(IniFile()).currency, "€");
    EXPECT_EQ(loaded(parsed("[Ansicht]\nW\xE4hrung=DM\n")).currency, "DM");
}

// The file's key names, order and value forms are what older installations read.
TEST(Settings, SavesTheFileAsItAlwaysWas)
{
    IniFile fresh;
    Settings().saveAll(fresh);
    EXPECT_EQ(fresh.serialise(), zorv::test::readFile(zorv::test::fixture("settings/saved-defaults.ini")));
    IniFile changed;
    everyValueChanged().saveAll(changed);
    EXPECT_EQ(changed.serialise(), zorv::test::readFile(zorv::test::fixture("settings/saved-changed.ini")));
}

TEST(Settings, RecentFilesKeepEightMostRecentFirst)
{
    IniFile ini = parsed("[Recent File List]\nFile1=/b.log\nFile2=/a.log\n");
    Settings s = loaded(ini);
    EXPECT_EQ(s.recentFiles[0], "/b.log");
    s.addRecentFile("/a.log");
    EXPECT_EQ(s.recentFiles[0], "/a.log");
    EXPECT_EQ(s.recentFiles[1], "/b.log");
    EXPECT_EQ(s.recentFiles[2], "");
    for (int i = 0; i < 9; ++i)
        s.addRecentFile("/n" + std::to_string(i) + ".log");
    EXPECT_EQ(s.recentFiles[0], "/n8.log");
    EXPECT_EQ(s.recentFiles[7], "/n1.log");

    s.recentFiles.fill("");
    s.recentFiles[0] = "/only.log";
    s.saveRecentFiles(ini);
    EXPECT_EQ(ini.keyNames("Recent File List"), std::vector<std::string> { "File1" });
    EXPECT_EQ(ini.readString("Recent File List", "File1"), "/only.log");
}

TEST(Settings, TipsAndComputerNamesAreReadOnDemand)
{
    IniFile ini = parsed("[Computertyp]\nCT007=Mein Rechner\nCT000=\n");
    EXPECT_EQ(computerTypeName(ini, 7, "Typ: 7"), "Mein Rechner");
    EXPECT_EQ(computerTypeName(ini, 0, "Données manuelles"), "Données manuelles");
    EXPECT_EQ(computerTypeName(ini, 77, "Typ: 77"), "Typ: 77");

    const TipState tip { 1, 4711, "2024-05-01 10:00:00" };
    writeTipState(ini, tip);
    EXPECT_EQ(readTipState(parsed(ini.serialise())), tip);
}

TEST(SettingsDirectory, PrefersOverrideThenProgramFolderThenXdg)
{
    TempDir dir;
    const auto missing = dir / "no such folder";
    {
        ScopedEnv config("ZORV_CONFIG_DIR", (dir / "cfg").c_str());
        EXPECT_EQ(settingsDirectory(dir.path()), dir / "cfg");
    }
    ScopedEnv config("ZORV_CONFIG_DIR", nullptr);
    EXPECT_EQ(settingsDirectory(dir.path()), dir.path());
    {
        ScopedEnv xdg("XDG_CONFIG_HOME", (dir / "xdg").c_str());
        EXPECT_EQ(settingsDirectory(missing), dir / "xdg" / "zorv");
    }
    ScopedEnv xdg("XDG_CONFIG_HOME", "relative/is/ignored");
    ScopedEnv home("HOME", dir.path().c_str());
    EXPECT_EQ(settingsDirectory(missing), dir / ".config" / "zorv");
    // An installed program's bin folder is writable for root, and still no place for settings.
    std::filesystem::create_directories(dir / "usr" / "bin");
    std::filesystem::create_directories(dir / "usr" / "share" / "zorv");
    EXPECT_EQ(settingsDirectory(dir / "usr" / "bin"), dir / ".config" / "zorv");
}
