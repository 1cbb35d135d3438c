#include "common/fileset.h"
#include "settings/inifile.h"
#include "testutil.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <sys/stat.h>
#include <utility>

using zorv::settings::IniFile;
using zorv::test::TempDir;

namespace {

IniFile parsed(const std::string &bytes)
{
    IniFile ini;
    ini.parse(bytes);
    return ini;
}

} // namespace

TEST(IniFile, FindsNamesWithoutRegardToCase)
{
    // "Süßwasser" and "Ausrüstung" as the old program wrote them: Windows-1252.
    const IniFile ini = parsed("[Color List Statistik]\n"
                               "S\xFC\xDFwasser=255\n"
                               "[Ausr\xFCstung]\n"
                               "File=c:\\equip.dat\n"
                               "[\xC4nderung]\n"
                               "Key=1\n");
    EXPECT_EQ(ini.readInt("COLOR LIST STATISTIK", "SÜßWASSER", 0), 255);
    EXPECT_EQ(ini.readInt("color list statistik", "süßwasser", 0), 255);
    EXPECT_EQ(ini.readString("AUSRÜSTUNG", "file"), "c:\\equip.dat");
    EXPECT_EQ(ini.readInt("änderung", "KEY", 0), 1);
    // Folding must not make different letters equal.
    EXPECT_FALSE(ini.hasKey("Color List Statistik", "Susswasser"));
    EXPECT_FALSE(ini.hasSection("Ausrustung"));
}

TEST(IniFile, ReadsValuesLikeTheWindowsCalls)
{
    const IniFile ini = parsed("; a comment=not a key\n"
                               "[A]\n"
                               "  spaced   =   some value  \n"
                               "url=http://x/?a=b&c=d\n"
                               "empty=\n"
                               "dup=first\n"
                               "dup=second\n"
                               "lead=12abc\n"
                               "neg=-5\n"
                               "plus=+7\n"
                               "word=abc\n"
                               "big=4294967297\n"
                               "no equals sign here\n"
                               "[a]\n"
                               "dup=other section\n"
                               "late=1\n");
    EXPECT_EQ(ini.readString("A", "spaced"), "some value");
    EXPECT_EQ(ini.readString("A", "url"), "http://x/?a=b&c=d");
    EXPECT_EQ(ini.readString("A", "dup"), "first");
    // A present but empty string is empty; only an absent key takes the default.
    EXPECT_EQ(ini.readString("A", "empty", "dflt"), "");
    EXPECT_EQ(ini.readString("A", "missing", "dflt"), "dflt");
    EXPECT_EQ(ini.readString("Nope", "dup", "dflt"), "dflt");
    for (const auto &[key, value] :
        { std::pair { "empty", 9 }, { "lead", 12 }, { "neg", -5 }, { "plus", 7 }, { "word", 9 }, { "big", 1 } })
        EXPECT_EQ(ini.readInt("A", key, 9), value) << key;
    EXPECT_FALSE(ini.hasKey("A", "no equals sign here"));
    // The first of two sections with the same name is the one that counts.
    EXPECT_FALSE(ini.hasKey("A", "late"));
    EXPECT_FALSE(ini.hasSection("; a comment"));
}

TEST(IniFile, WritesInPlaceAndKeepsEverythingElse)
{
    IniFile ini = parsed("; settings of an older version\n"
                         "[Ansicht]\n"
                         "Raster=1\n"
                         "  Metrisch = 1\n"
                         "\n"
                         "; unknown to us, kept\n"
                         "[Fremd]\n"
                         "Wert=x=y\n");
    EXPECT_FALSE(ini.isModified());
    ini.writeInt("ANSICHT", "metrisch", 0);
    ini.writeString("Ansicht", "Neu", "v");
    ini.writeString("Neue Sektion", "k", "1");
    EXPECT_TRUE(ini.isModified());
    EXPECT_EQ(ini.serialise(),
        "; settings of an older version\n"
        "[Ansicht]\n"
        "Raster=1\n"
        "Metrisch=0\n"
        "Neu=v\n"
        "\n"
        "; unknown to us, kept\n"
        "[Fremd]\n"
        "Wert=x=y\n"
        "\n"
        "[Neue Sektion]\n"
        "k=1\n");

    EXPECT_TRUE(ini.deleteKey("ansicht", "RASTER"));
    EXPECT_FALSE(ini.deleteKey("Ansicht", "Raster"));
    // Like the Windows call, a section runs from its bracket line to the next one.
    EXPECT_TRUE(ini.deleteSection("fremd"));
    EXPECT_EQ(ini.serialise(),
        "; settings of an older version\n"
        "[Ansicht]\n"
        "Metrisch=0\n"
        "Neu=v\n"
        "\n"
        "; unknown to us, kept\n"
        "[Neue Sektion]\n"
        "k=1\n");
    EXPECT_EQ(ini.sectionNames(), (std::vector<std::string> { "Ansicht", "Neue Sektion" }));
    EXPECT_EQ(ini.keyNames("ansicht"), (std::vector<std::string> { "Metrisch", "Neu" }));
}

TEST(IniFile, KeepsCrLfLineEnds)
{
    IniFile ini = parsed("[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n");
    EXPECT_EQ(ini.readInt("A", "x", 0), 1);
    EXPECT_EQ(ini.readString("B", "y"), "2");
    ini.writeInt("A", "z", 3);
    ini.writeInt("C", "w", 4);
    EXPECT_EQ(ini.serialise(), "[A]\r\nx=1\r\nz=3\r\n\r\n[B]\r\ny=2\r\n\r\n[C]\r\nw=4\r\n");
}

TEST(IniFile, ALineBreakInAValueCannotAddKeys)
{
    IniFile ini;
    ini.writeString("ExternApplication", "Name", "Menu\r\n[Transfer]\nCom=8");
    const IniFile reread = parsed(ini.serialise());
    EXPECT_EQ(reread.sectionNames(), std::vector<std::string> { "ExternApplication" });
    EXPECT_EQ(reread.readString("ExternApplication", "Name"), "Menu  [Transfer] Com=8");
}

TEST(IniFile, SavesWindows1252AndFallsBackToUtf8)
{
    TempDir dir;
    // A missing file is an empty profile, and saving creates it with its folder.
    IniFile ini(dir / "sub" / "Zorv.ini");
    EXPECT_FALSE(ini.hasSection("Color List Statistik"));
    ini.writeInt("Color List Statistik", "Süßwasser", 16711680);
    ini.writeString("Ansicht", "Währung", "€");
    ASSERT_TRUE(ini.save());
    EXPECT_EQ(zorv::test::readFile(dir / "sub" / "Zorv.ini"),
        "[Color List Statistik]\nS\xFC\xDFwasser=16711680\n\n[Ansicht]\nW\xE4hrung=\x80\n");
    EXPECT_EQ(ini.encoding(), IniFile::Encoding::Windows1252);

    // A path in Cyrillic has no Windows-1252 bytes; '?' would lose it.
    ini.writeString("Recent File List", "File1", "/home/u/Дайвинг.log");
    ASSERT_TRUE(ini.save());
    const std::string bytes = zorv::test::readFile(dir / "sub" / "Zorv.ini");
    EXPECT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF");

    const IniFile reread(dir / "sub" / "Zorv.ini");
    EXPECT_EQ(reread.encoding(), IniFile::Encoding::Utf8);
    EXPECT_EQ(reread.readString("recent file list", "file1"), "/home/u/Дайвинг.log");
    EXPECT_EQ(reread.readInt("COLOR LIST STATISTIK", "SÜSSWASSER", 0), 0);
    EXPECT_EQ(reread.readInt("COLOR LIST STATISTIK", "SÜßWASSER", 0), 16711680);
    EXPECT_EQ(reread.readString("Ansicht", "Währung"), "€");
}

TEST(IniFile, SaveLeavesAnUnchangedFileAlone)
{
    TempDir dir;
    const auto path = dir / "a.ini";
    zorv::test::writeFile(path, "[A]\r\nx = 1");
    IniFile ini(path);
    ASSERT_TRUE(ini.save());
    EXPECT_EQ(zorv::test::readFile(path), "[A]\r\nx = 1");
    ini.writeInt("A", "x", 1);
    EXPECT_FALSE(ini.isModified());

    IniFile unnamed;
    unnamed.writeInt("A", "x", 1);
    EXPECT_FALSE(unnamed.save());
}

TEST(IniFile, SurvivesGarbage)
{
    std::mt19937 rng(1234);
    const std::string alphabet = std::string("[]=;\r\n \tAaÄä\x00\xFF\xC3\xEF\xBB\xBF", 21);
    for (int round = 0; round < 300; ++round) {
        std::string bytes(rng() % 400, '\0');
        for (char &c : bytes)
            c = (rng() % 4 == 0) ? static_cast<char>(rng()) : alphabet[rng() % alphabet.size()];
        IniFile ini = parsed(bytes);
        for (const std::string &section : ini.sectionNames())
            for (const std::string &key : ini.keyNames(section))
                (void)ini.readInt(section, key, 0);
        ini.writeString("Zorv", "key", "value");
        ini.deleteSection(ini.sectionNames().front());
        ini.writeInt("Zorv", "n", round);
        const IniFile reread = parsed(ini.serialise());
        EXPECT_EQ(reread.readInt("Zorv", "n", -1), round) << "round " << round;
    }
}

// A settings file that is no file, or a huge one, must neither hang nor eat the
// memory: the defaults hold, the user is told, and the file is left alone.
TEST(IniFile, ReadsOnlyRegularFilesOfSaneSize)
{
    TempDir dir;
    const auto fifo = dir / "Ctyp.ini";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const auto zero = dir / "Zorv.ini";
    std::filesystem::create_symlink("/dev/zero", zero);
    const auto big = dir / "big.ini";
    zorv::test::writeFile(big, "[A]\nKey=1\n" + std::string(zorv::common::kMaxSettingsFileSize, ';'));
    const auto folder = dir / "folder.ini";
    std::filesystem::create_directory(folder);

    for (const auto &path : { fifo, zero, big, folder }) {
        IniFile ini;
        EXPECT_FALSE(ini.load(path)) << path;
        const auto usable = zorv::common::checkRegularFile(path, zorv::common::kMaxSettingsFileSize);
        EXPECT_NE(usable.message().find(path.string()), std::string::npos) << usable.message();
        EXPECT_FALSE(ini.hasKey("A", "Key"));
        ini.writeInt("A", "Key", 2);
        EXPECT_TRUE(ini.save());
    }
    EXPECT_EQ(std::filesystem::file_size(big), 10 + zorv::common::kMaxSettingsFileSize);
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
    EXPECT_TRUE(std::filesystem::is_symlink(zero));

    // A missing file is no problem: it is created on save.
    IniFile fresh;
    EXPECT_FALSE(fresh.load(dir / "new.ini"));
    EXPECT_TRUE(zorv::common::checkRegularFile(dir / "new.ini", zorv::common::kMaxSettingsFileSize));
    fresh.writeInt("A", "Key", 2);
    EXPECT_TRUE(fresh.save());
    EXPECT_TRUE(std::filesystem::is_regular_file(dir / "new.ini"));
}

TEST(IniFile, KeepsCarriageReturnsThatBelongToTheLine)
{
    for (const std::string bytes : { "[A]\r\nKey=v\r\r\nOther=w\r\n", "[A]\nKey=v\r\r\nOther=w\r\n" }) {
        IniFile ini = parsed(bytes);
        EXPECT_EQ(ini.serialise(), bytes);
        EXPECT_EQ(ini.readString("A", "Key"), "v");
        EXPECT_EQ(ini.readString("A", "Other"), "w");
        EXPECT_EQ(parsed(ini.serialise()).serialise(), bytes);
    }
}
