#include "computers/computercatalogue.h"
#include "imports/guardianimport.h"
#include "logbook/daynumber.h"
#include "logbook/divepage.h"
#include "logbook/fieldcatalogue.h"
#include "logbook/logbook.h"
#include "logbook/logbookfile.h"
#include "logbook/oemcharmap.h"
#include "testutil.h"
#include "tools/diveeditform.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

using namespace zorv::imports;
using zorv::logbook::DiveRecord;
using zorv::logbook::fixedText;

namespace {

std::filesystem::path example(const std::string &name)
{
    return std::filesystem::path(ZORV_SOURCE_DIR) / "examples" / "imports" / name;
}

zorv::common::ResultOr<ImportedDive> read(const std::string &text, const ImportSettings &settings = {})
{
    return importer(Format::Guardian)
        .read({ reinterpret_cast<const std::uint8_t *>(text.data()), text.size() }, settings);
}

ImportedDive import(const std::string &text, const ImportSettings &settings = {})
{
    auto result = read(text, settings);
    EXPECT_TRUE(result.ok()) << result.message();
    return std::move(result).value();
}

// The samples after the first against depths in decimetres, within what the raw block resolves.
void expectSamples(const DiveRecord &r, const std::vector<int> &decimetres)
{
    ASSERT_GE(r.sampleCount, decimetres.size() + 1);
    for (std::size_t i = 0; i < decimetres.size(); ++i)
        EXPECT_NEAR(-r.samples[i + 1].depth, decimetres[i] * 0.1, 0.16) << "sample " << i + 1;
}

TEST(GuardianImport, MinutesExpandIntoThirdsRunningToTheSurface)
{
    EXPECT_EQ(expandMinutePoints({ 100, 130 }), (std::vector<int> { 100, 110, 120, 130, 87, 44, 0 }));
    // Level, falling and rising minutes.
    EXPECT_EQ(expandMinutePoints({ 50, 50, 20 }), (std::vector<int> { 50, 50, 50, 50, 40, 30, 20, 14, 8, 0 }));
    EXPECT_EQ(expandMinutePoints({ 20 }, 50), (std::vector<int> { 20, 30, 40, 0 }));
}

TEST(GuardianImport, ProfileIsTheRawBlockDecoded)
{
    const ImportedDive d = import("[GENERAL]\nNumPoints=2\n[POINTS]\nP1=10.0\nP2=13.0\n");
    const DiveRecord &r = d.record;
    const auto &b = r.profileBytes;
    EXPECT_EQ(std::vector<int>(b.begin(), b.begin() + 5), (std::vector<int> { 0, 0, 0, 0x40, 0x90 }));
    // 10 m: u = 64, 0x10 and bits 0-1 clear; 11 m: u = 70 (0x46), 0x11 with bit 1.
    EXPECT_EQ(b[5], 0x10);
    EXPECT_EQ(b[6], 0x20);
    EXPECT_EQ(b[7], 0x11);
    EXPECT_EQ(b[8], 0x80 | 0x20);
    EXPECT_EQ(b[11], 0x20);
    // Only the declared two minutes are kept: the file would drop the rest.
    EXPECT_EQ(r.profileLength, 7 * 2 + 17);
    EXPECT_LE(b.size(), 14u);
    EXPECT_EQ(r.sampleCount, 7);
    EXPECT_FLOAT_EQ(r.samples[0].depth, -1.3f);
    expectSamples(r, { 100, 110, 120, 130, 0, 0 });
    EXPECT_EQ(r.samples[1].markers[2], 6);
    EXPECT_EQ(r.maxDepth, 1300);
    EXPECT_NEAR(r.profileMaxDepth, 13.0, 0.16);
    EXPECT_FALSE(d.profileCut);
}

struct GeneralCase {
    const char *name;
    std::string general;
    int altitudeClass = 1;
    int maxDepth = 2050; // the points' maximum
    int surfaceInterval = 0;
    std::uint32_t date = zorv::logbook::kNoDate;
};

class GuardianGeneral : public testing::TestWithParam<GeneralCase> { };

TEST_P(GuardianGeneral, Fields)
{
    const GeneralCase &c = GetParam();
    const ImportedDive d = import(c.general + "[POINTS]\nP1=12.0\nP2=20.56\nP3=4\n");
    EXPECT_EQ(d.record.altitudeClass, c.altitudeClass);
    EXPECT_EQ(d.record.maxDepth, c.maxDepth);
    EXPECT_EQ(d.record.surfaceInterval, c.surfaceInterval);
    EXPECT_EQ(d.record.date, c.date);
}

INSTANTIATE_TEST_SUITE_P(Table, GuardianGeneral,
    testing::Values(GeneralCase { "altitude 7 is class 1", "[GENERAL]\nNumPoints=3\nAltitude=7\n" },
        GeneralCase { "altitude 3 kept", "[GENERAL]\nNumPoints=3\nAltitude=3\n", 3 },
        GeneralCase { "max depth 0 keeps the points' maximum", "[GENERAL]\nNumPoints=3\nMaxDepth=0\n" },
        GeneralCase { "max depth given", "[GENERAL]\nNumPoints=3\nMaxDepth=25.37\n", 1, 2530 },
        GeneralCase { "lower-case header, keys, blanks, tabs and a comment",
            "[general] ; header\n  numpoints\t= 3 ;three\nsurfaceint = 61\ndivedate=31-12-1999\n", 1, 2050, 61,
            zorv::logbook::dayNumber(31, 12, 1999) },
        GeneralCase { "a bracket line ends the section", "[GENERAL]\nNumPoints=3\n[OTHER]\nSurfaceInt=61\n" },
        GeneralCase { "the sections in either order",
            "[POINTS]\nP1=12.0\nP2=20.56\nP3=4\n[GENERAL]\r\nNumPoints=3\r\nSurfaceInt=7\r\n", 1, 2050, 7 }),
    [](const testing::TestParamInfo<GeneralCase> &info) { return "Case" + std::to_string(info.index); });

TEST(GuardianImport, MissingPointsRepeatTheOneBefore)
{
    const ImportedDive d = import("[GENERAL]\nNumPoints=3\n[POINTS]\np2=6\n");
    // P1 is missing and counts as 0; P3 repeats P2.
    expectSamples(d.record, { 0, 20, 40, 60, 60, 60, 60 });
}

TEST(GuardianImport, DateAloneGivesAnEmptyDive)
{
    const ImportedDive d = import("[GENERAL]\nDiveDate=02-03-2021\n");
    EXPECT_EQ(d.record.sampleCount, 1);
    EXPECT_EQ(d.record.duration, 0);
    EXPECT_EQ(d.record.profileLength, 17);
    EXPECT_EQ(d.record.altitudeClass, 1);
    EXPECT_EQ(d.record.date, zorv::logbook::dayNumber(2, 3, 2021));
    // Only the non-zero tank values replace the blank record's.
    EXPECT_EQ(d.record.tankVolume, zorv::logbook::kMissing);
    EXPECT_EQ(d.record.extra.weights, zorv::logbook::kMissing);
}

// A file without date, time or depth is no export (empty, or another program's): nothing to import.
TEST(GuardianImport, FileWithoutDateTimeOrDepthIsRefused)
{
    for (const std::string &text : { std::string(), std::string("just some text\n"),
             std::string("[GENERAL]\nLocation=Lac\nNumPoints=3\n[POINTS]\nP1=0\n"), std::string("\xEF\xBB\xBF") }) {
        const auto result = read(text);
        EXPECT_EQ(result.status(), zorv::common::Status::BadFormat) << text;
        EXPECT_EQ(result.message(), "Mauvais format");
    }
}

struct ImpossibleCase {
    const char *line; // also what the message must show
    bool inPoints = false;
};

class GuardianImpossible : public testing::TestWithParam<ImpossibleCase> { };

// Values no dive can have refuse the file and name the value; nothing is built from it.
TEST_P(GuardianImpossible, RefusedWithTheValue)
{
    const ImpossibleCase &c = GetParam();
    const std::string line = std::string(c.line) + "\n";
    const auto result = read("[GENERAL]\n" + (c.inPoints ? "" : line)
        + "DiveDate=05-07-2003\nNumPoints=2\n[POINTS]\nP1=10\n" + (c.inPoints ? line : ""));
    EXPECT_EQ(result.status(), zorv::common::Status::Refused);
    EXPECT_NE(result.message().find("Valeur impossible"), std::string::npos) << result.message();
    EXPECT_NE(result.message().find(c.line), std::string::npos) << result.message();
}

INSTANTIATE_TEST_SUITE_P(Table, GuardianImpossible,
    testing::Values(ImpossibleCase { "DiveDate=99-99-99999" }, ImpossibleCase { "DiveDate=31-04-2003" },
        ImpossibleCase { "DiveDate=29-02-2003" }, ImpossibleCase { "DiveDate=yesterday" },
        ImpossibleCase { "DiveTime=99:99" }, ImpossibleCase { "DiveTime=24:00" }, ImpossibleCase { "DiveTime=12:60" },
        ImpossibleCase { "Temperature=-9223372036854775808" }, ImpossibleCase { "NumPoints=-3" },
        ImpossibleCase { "NumPoints=2147483647" }, ImpossibleCase { "MaxDepth=inf" }, ImpossibleCase { "AveDepth=-4" },
        ImpossibleCase { "SurfaceInt=-1" }, ImpossibleCase { "TankPressure=9223372036854775807" },
        ImpossibleCase { "AirCons=99999999999999999999" }, ImpossibleCase { "Weights=1e9" },
        ImpossibleCase { "P2=-3", true }, ImpossibleCase { "P2=nan", true }, ImpossibleCase { "P99999=1e300", true }),
    [](const testing::TestParamInfo<ImpossibleCase> &info) { return "Case" + std::to_string(info.index); });

// The same file in UTF-8 (with or without a byte-order mark) and in Windows-1252 gives the same stored texts.
TEST(GuardianImport, UtfEightAndWindowsFilesGiveTheSameTexts)
{
    const std::string windows = "[GENERAL]\nDiveDate=05-07-2003\nBuddies=Zo\xE9 Lef\xE8vre\nNote=\xC7"
                                "a, na\xEFve\n";
    const std::string utf8 = "[GENERAL]\nDiveDate=05-07-2003\nBuddies=Zoé Lefèvre\nNote=Ça, naïve\n";
    for (const std::string &text : { windows, utf8, "\xEF\xBB\xBF" + utf8 }) {
        const ImportedDive d = import(text);
        EXPECT_EQ(zorv::logbook::storedToDisplay(fixedText(d.record.partners)), "Zoé Lefèvre");
        EXPECT_EQ(zorv::logbook::storedToDisplay(fixedText(d.record.comment)), "Ça, naïve");
        EXPECT_EQ(d.record.date, zorv::logbook::dayNumber(5, 7, 2003));
    }
    // One byte that is not UTF-8 anywhere in the file makes all of it Windows-1252.
    const ImportedDive mixed = import(utf8 + "Site=Gen\xE8ve\n");
    EXPECT_EQ(zorv::logbook::storedToDisplay(fixedText(mixed.record.site)), "Genève");
    EXPECT_EQ(zorv::logbook::storedToDisplay(fixedText(mixed.record.partners)), "ZoÃ© LefÃ¨vre");
}

// Whole or in pieces of any size, with lines and characters split between them, the dive is the same.
TEST(GuardianImport, PiecesGiveTheSameDiveAsTheWholeFile)
{
    std::string text = "\xEF\xBB\xBF[GENERAL]\r\nDiveDate=05-07-2003\r\nBuddies=Zoé\r\nNumPoints=40\r\n[POINTS]\r\n";
    for (int i = 1; i <= 40; ++i)
        text += "P" + std::to_string(i) + "=" + std::to_string(5 + i % 9) + ".5\r\n";
    text += "Note=" + std::string(3000, 'x'); // a line past the length read, ending the file
    const ImportedDive whole = import(text);
    EXPECT_EQ(fixedText(whole.record.partners), "Zo\x82"); // é in the stored set
    EXPECT_EQ(whole.record.sampleCount, 121);
    for (const std::size_t piece :
        { std::size_t { 1 }, std::size_t { 2 }, std::size_t { 1023 }, std::size_t { 4096 } }) {
        const auto reader = importer(Format::Guardian).reader({});
        for (std::size_t at = 0; at < text.size(); at += piece) {
            const std::string_view part = std::string_view(text).substr(at, piece);
            reader->feed({ reinterpret_cast<const std::uint8_t *>(part.data()), part.size() });
        }
        const auto result = reader->finish();
        ASSERT_TRUE(result.ok()) << piece;
        EXPECT_TRUE(result->record == whole.record) << piece;
    }
}

TEST(GuardianImport, NewDiveDefaultsComeFirst)
{
    ImportSettings settings;
    settings.defaults.apply = true;
    settings.defaults.suit = 4;
    settings.defaults.tankVolume = 1000;
    const ImportedDive d = import("[GENERAL]\nDiveTime=10:00\nTankSize=15\n", settings);
    EXPECT_EQ(d.record.suit, 4);
    EXPECT_EQ(d.record.tankVolume, 1500);
}

// The texts come in the Windows set and are converted once: a second conversion
// would turn ß into á and ` into ï.
TEST(GuardianImport, TextsAreConvertedToTheStoredSetOnce)
{
    const ImportedDive d = import("[GENERAL]\nDiveTime=10:00\nBuddies=Wei\xDF `Bob`\nNote=caf\xE9 \xDF\n");
    EXPECT_EQ(fixedText(d.record.partners),
        "Wei\xE1 \xEF"
        "Bob\xEF");
    EXPECT_EQ(zorv::logbook::storedToDisplay(fixedText(d.record.partners)), "Weiß `Bob`");
    EXPECT_EQ(zorv::logbook::storedToDisplay(fixedText(d.record.comment)), "café ß");
}

TEST(GuardianImport, LongNoteContinuesIntoTheSecondBuffer)
{
    const ImportedDive d
        = import("[GENERAL]\nDiveTime=10:00\nNote=" + std::string(300, 'a') + std::string(300, 'b') + "\n");
    EXPECT_EQ(fixedText(d.record.comment), std::string(255, 'a'));
    EXPECT_EQ(fixedText(d.record.extra.commentMore), std::string(45, 'a') + std::string(210, 'b'));
}

// Five hours, one point a minute: more than the samples and the raw area hold.
TEST(GuardianImport, LongDiveIsCutAtTheEndOfWhatFits)
{
    std::string text = "[GENERAL]\nNumPoints=300\n[POINTS]\n";
    for (int i = 1; i <= 300; ++i)
        text += "P" + std::to_string(i) + "=" + std::to_string(10 + i % 7) + "\n";
    const ImportedDive d = import(text);
    EXPECT_TRUE(d.profileCut);
    EXPECT_FALSE(cutMessage(d).empty());
    EXPECT_EQ(d.record.duration, 300);
    EXPECT_EQ(d.record.sampleCount, zorv::logbook::kMaxSamples);
    EXPECT_EQ(d.record.profileLength, 7 * 227 + 17);
    // Nothing was written behind the raw area, into the fields that follow it.
    EXPECT_EQ(d.record.profileExtra, 0);
    // The last group that fits is there, up to the declared length.
    EXPECT_NE(zorv::logbook::profileByte(d.record, 5 + 7 * 226), 0);
    EXPECT_EQ(zorv::logbook::profileByte(d.record, 7 * 227), 0);

    // A dive that fits exactly is not reported.
    std::string fits = "[GENERAL]\nNumPoints=211\n[POINTS]\n";
    for (int i = 1; i <= 211; ++i)
        fits += "P" + std::to_string(i) + "=12\n";
    EXPECT_FALSE(import(fits).profileCut);
}

TEST(GuardianImport, LargestPointCountEndsQuickly)
{
    const ImportedDive d = import("[GENERAL]\nNumPoints=32766\n[POINTS]\nP1=12\nP300=3\nP40000=5\n");
    EXPECT_EQ(d.record.duration, 32766);
    EXPECT_EQ(d.record.sampleCount, zorv::logbook::kMaxSamples);
    EXPECT_TRUE(d.profileCut);
}

TEST(GuardianImport, FilesThatCannotBeReadAreRefused)
{
    const zorv::test::TempDir dir;
    const auto missing = importFile(importer(Format::Guardian), (dir / "none.txt").string(), {});
    EXPECT_EQ(missing.status(), zorv::common::Status::NotFound);
    EXPECT_EQ(missing.message(), "Fichier introuvable");
    const auto folder = importFile(importer(Format::Guardian), dir.path().string(), {});
    EXPECT_EQ(folder.message(), "Erreur à l'ouverture");
}

// The example file's dive, as the edit dialog shows it, is what the logbook gives back after a
// save and a load. Its shown fields are compared whole by zorv-cli's import test.
TEST(GuardianImport, ExampleDiveSurvivesTheEditFormASaveAndALoad)
{
    const auto result = importFile(importer(Format::Guardian), example("guardian-dive.txt").string(), {});
    ASSERT_TRUE(result.ok());
    const DiveRecord &r = result->record;
    EXPECT_EQ(r.computerType, 179);
    EXPECT_EQ(r.computerFlags, 1);
    EXPECT_EQ(r.sampleCount, 121);
    EXPECT_EQ(r.profileLength, 7 * 40 + 17);
    EXPECT_EQ(r.profileHeader[0], 2926);
    EXPECT_EQ(r.profileHeader[7], 2933);
    EXPECT_FALSE(result->profileCut);
    zorv::logbook::Logbook book;
    book.setMode(zorv::logbook::Mode::Advanced);
    const auto catalogue = zorv::computers::ComputerCatalogue::withBuiltInTypes();
    book.setComputerInfo(&catalogue);
    // OK in the edit dialog, untouched.
    zorv::tools::DiveEditSwitches switches;
    zorv::tools::DiveEditForm form(book, catalogue, switches);
    form.setRecord(result->record, 0);
    ASSERT_TRUE(form.accept(form.shown()));
    const std::optional<DiveRecord> accepted = form.changedRecord();
    ASSERT_TRUE(accepted);
    ASSERT_TRUE(book.insertDive(*accepted));
    const zorv::logbook::DivePageOptions options { zorv::logbook::Mode::Advanced, true };
    const zorv::test::TempDir dir;
    const std::string path = (dir / "imported.log").string();
    ASSERT_TRUE(zorv::logbook::LogbookFile::save(book, path).ok());
    const auto before = zorv::logbook::divePage(book, zorv::logbook::FieldCatalogue(book), 1, options);

    zorv::logbook::Logbook loaded;
    loaded.setMode(zorv::logbook::Mode::Advanced);
    loaded.setComputerInfo(&catalogue);
    ASSERT_TRUE(zorv::logbook::LogbookFile::loadFromPath(loaded, path).ok());
    const DiveRecord &back = *loaded.dive(1);
    const DiveRecord &shown = *book.dive(1);
    const auto after = zorv::logbook::divePage(loaded, zorv::logbook::FieldCatalogue(loaded), 1, options);
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < after.size(); ++i)
        EXPECT_EQ(after[i].value, before[i].value) << after[i].label;
    EXPECT_EQ(back.profileLength, shown.profileLength);
    EXPECT_EQ(back.sampleCount, shown.sampleCount);
    const std::size_t raw = shown.profileLength - 17u;
    EXPECT_EQ(zorv::logbook::paddedProfileBytes(back, raw), zorv::logbook::paddedProfileBytes(shown, raw));
    EXPECT_EQ(back.extra.weights, shown.extra.weights);
    EXPECT_EQ(back.extra.tankPressure, shown.extra.tankPressure);
}

} // namespace
