#include "logbook/logbookfile.h"
#include "testutil.h"
#include "uddf/uddfimport.h"
#include "uddf/uddftext.h"
#include "uddftestutil.h"

#include <gtest/gtest.h>

namespace zorv::uddf {
namespace {

    namespace fs = std::filesystem;
    using test::exportText;

    using zorv::test::readFile;

    TEST(UddfRoundTrip, GivesBackEveryFileByteForByte)
    {
        zorv::test::TempDir from;
        zorv::test::TempDir to;
        logbook::Logbook book;
        const test::Fixture fixture = test::makeFixture(book, from.path(), 300);
        const std::string uddf = exportText(book, fixture.registers);

        EXPECT_EQ(test::schemaErrors(uddf), "");
        EXPECT_EQ(test::wrapperErrors(uddf, true), "");
        EXPECT_EQ(test::linkErrors(uddf), "");

        ImportOptions options;
        options.computers = &test::kComputers;
        auto content = readUddf({ reinterpret_cast<const std::uint8_t *>(uddf.data()), uddf.size() }, options, "x");
        ASSERT_TRUE(content.ok()) << content.message();
        EXPECT_TRUE(content->notes.empty());
        EXPECT_TRUE(content->exact.has_value());
        logbook::Logbook fresh;
        fresh.setComputerInfo(&test::kComputers);
        fresh.setPath((to.path() / "carnet.log").string());
        std::vector<std::string> notes;
        restoreRegisters(*content, fresh, notes);
        const ImportSummary summary = addToLogbook(fresh, std::move(*content));
        EXPECT_EQ(summary.added, 300);
        EXPECT_TRUE(notes.empty());
        ASSERT_TRUE(logbook::LogbookFile::save(fresh, fresh.path()));

        for (const char *name :
            { "carnet.log", "carnet.add", "carnet.inf", "carnet.trp", "materiel.dat", "carnet.adr", "cours.abn" }) {
            SCOPED_TRACE(name);
            ASSERT_TRUE(fs::exists(from / name));
            const std::string a = readFile(from / name);
            const std::string b = readFile(to / name);
            EXPECT_EQ(a.size(), b.size());
            const auto diff = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
            EXPECT_TRUE(diff.first == a.end()) << "first difference at byte " << (diff.first - a.begin());
        }
    }

    // Our bytes of one dive damaged: that dive comes from its UDDF elements, the others exactly,
    // and the logbook header no longer claims to be whole.
    TEST(UddfRoundTrip, DamagedOwnDataFallsBackOnTheUddfElements)
    {
        zorv::test::TempDir dir;
        logbook::Logbook book;
        const test::Fixture fixture = test::makeFixture(book, dir.path(), 12);
        std::string uddf = exportText(book, fixture.registers);
        const std::size_t at = uddf.find("<z:record>") + 10;
        uddf.replace(at, uddf.find("</z:record>", at) - at, "00ff");
        ImportOptions options;
        options.computers = &test::kComputers;
        auto content = readUddf({ reinterpret_cast<const std::uint8_t *>(uddf.data()), uddf.size() }, options, "x");
        ASSERT_TRUE(content.ok()) << content.message();
        EXPECT_FALSE(content->exact.has_value());
        ASSERT_EQ(content->dives.size(), 12u);
        const logbook::DiveRecord &first = content->dives[0];
        const logbook::DiveRecord &original = *book.dive(1);
        EXPECT_EQ(first.date, original.date);
        EXPECT_EQ(first.entryTime, original.entryTime);
        EXPECT_EQ(first.maxDepth, original.maxDepth);
        EXPECT_EQ(logbook::fixedText(first.site), logbook::fixedText(original.site));
        EXPECT_EQ(first.sampleCount > 0, original.sampleCount > 0);
        for (std::size_t i = 1; i < 12; ++i)
            EXPECT_TRUE(content->dives[i] == book.dives()[i]) << i;
    }

    TEST(UddfExport, PortableAndPartialExportsMeetTheSchemaWithoutOurData)
    {
        zorv::test::TempDir dir;
        logbook::Logbook book;
        const test::Fixture fixture = test::makeFixture(book, dir.path(), 40);
        ExportOptions portable;
        portable.content = Content::Portable;
        const std::string text = exportText(book, fixture.registers, portable);
        EXPECT_EQ(test::schemaErrors(text), "");
        EXPECT_EQ(test::wrapperErrors(text, false), "");
        EXPECT_EQ(test::linkErrors(text), "");
        // What other programs read: the values in SI units, names and places in their own elements.
        const logbook::DiveRecord &first = *book.dive(1);
        EXPECT_NE(text.find("<divenumber>1</divenumber>"), std::string::npos);
        EXPECT_NE(text.find("<greatestdepth>" + numberText(first.maxDepth / 100.0, 5) + "</greatestdepth>"),
            std::string::npos);
        EXPECT_NE(
            text.find("<diveduration>" + std::to_string(first.duration * 60) + "</diveduration>"), std::string::npos);
        EXPECT_NE(text.find("<firstname>René</firstname>"), std::string::npos);
        // The DOS set's apostrophe reads as an acute accent, as everywhere the program shows it.
        EXPECT_NE(text.find("<lastname>L´Hôte</lastname>"), std::string::npos);
        EXPECT_NE(text.find("organisation=\"Club &lt;Plongée&gt; &amp; Co\""), std::string::npos);
        EXPECT_NE(text.find("<name>Lac d´Annecy</name>"), std::string::npos);
        EXPECT_NE(text.find("<divecomputer id=\"computer-"), std::string::npos);
        EXPECT_EQ(text.find("zorv"), std::string::npos);

        ExportOptions some;
        some.firstNumber = 5;
        some.lastNumber = 9;
        const std::string part = exportText(book, fixture.registers, some);
        EXPECT_EQ(test::schemaErrors(part), "");
        EXPECT_EQ(test::wrapperErrors(part, true), "");
        EXPECT_EQ(test::linkErrors(part), "");
        std::size_t dives = 0;
        for (std::size_t at = part.find("<dive "); at != std::string::npos; at = part.find("<dive ", at + 1))
            ++dives;
        EXPECT_EQ(dives, 5u);
    }

    TEST(UddfExport, AnEmptyLogbookIsStillAValidFile)
    {
        logbook::Logbook book;
        const std::string text = exportText(book, {});
        EXPECT_EQ(test::schemaErrors(text), "");
    }

    TEST(UddfExport, AFileIsReplacedOnlyWhenWhole)
    {
        zorv::test::TempDir dir;
        logbook::Logbook book;
        const test::Fixture fixture = test::makeFixture(book, dir.path(), 20);
        const fs::path out = dir / "out.uddf";
        zorv::test::writeFile(out, "old");
        ExportOptions cancelled;
        cancelled.progress = [](int done, int) { return done < 10; };
        EXPECT_EQ(exportUddf(book, fixture.registers, cancelled, out).status(), common::Status::Cancelled);
        EXPECT_EQ(readFile(out), "old");
        const auto written = exportUddf(book, fixture.registers, {}, out);
        ASSERT_TRUE(written.ok()) << written.message();
        EXPECT_EQ(written->dives, 20);
        EXPECT_EQ(readFile(out), exportText(book, fixture.registers));
        for (const auto &entry : fs::directory_iterator(dir.path()))
            EXPECT_FALSE(entry.path().filename().string().starts_with(".zorv-tmp-"));
    }

    TEST(UddfText, NumbersDatesAndTexts)
    {
        EXPECT_EQ(numberText(0.012, 5), "0.012");
        EXPECT_EQ(numberText(20.0 + 273.15, 2), "293.15");
        EXPECT_EQ(numberText(200.0 * 1e5, 0), "20000000");
        EXPECT_EQ(numberText(-0.0001, 2), "0");
        EXPECT_EQ(parseNumber(" 12,5 "), 12.5);
        EXPECT_EQ(parseNumber("30 pieds"), std::nullopt);
        EXPECT_EQ(parseNumber("nan"), std::nullopt);
        EXPECT_EQ(parseNumber(""), std::nullopt);
        EXPECT_EQ(dateTimeText(2019, 5, 4, 9 * 60 + 5), "2019-05-04T09:05:00");
        const auto zoned = parseDateTime("2019-05-04T10:30:59.5+02:00");
        ASSERT_TRUE(zoned);
        EXPECT_EQ(zoned->minutes, 630);
        const auto dateOnly = parseDateTime("2019-05-04");
        ASSERT_TRUE(dateOnly);
        EXPECT_FALSE(dateOnly->hasTime);
        EXPECT_EQ(dateOnly->minutes, 0);
        EXPECT_FALSE(parseDateTime("04.05.2019"));
        EXPECT_EQ(xmlSafe("a\x01"
                          "b\xc3\xa9\xff\tc"),
            "ab\xc3\xa9\tc");
    }

} // namespace
} // namespace zorv::uddf
