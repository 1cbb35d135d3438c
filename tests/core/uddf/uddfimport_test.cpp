#include "logbook/daynumber.h"
#include "logbook/generator.h"
#include "logbook/oemcharmap.h"
#include "testutil.h"
#include "uddf/uddfimport.h"
#include "uddftestutil.h"

#include <gtest/gtest.h>

namespace zorv::uddf {
namespace {

    using logbook::DiveRecord;
    using logbook::kMissing;

    // A file of another program: the head (diver, sites, mixes) and one dive element per body.
    std::string foreign(const std::vector<std::string> &dives, const std::string &head = {},
        const std::string &root = "<uddf xmlns=\"http://www.streit.cc/uddf/3.2/\" version=\"3.2.1\">")
    {
        std::string text = "<?xml version=\"1.0\"?>\n" + root + "<generator><name>Autre</name></generator>" + head
            + "<profiledata><repetitiongroup id=\"g\">";
        for (std::size_t i = 0; i < dives.size(); ++i)
            text += "<dive id=\"d" + std::to_string(i) + "\">" + dives[i] + "</dive>";
        return text + "</repetitiongroup></profiledata></uddf>";
    }

    std::string before(const std::string &inside = {}, const std::string &when = "2019-05-04T10:30:00")
    {
        return "<informationbeforedive>" + inside + "<datetime>" + when + "</datetime></informationbeforedive>";
    }

    std::string after(
        const std::string &inside = "<greatestdepth>18.4</greatestdepth><diveduration>2700</diveduration>")
    {
        return "<informationafterdive>" + inside + "</informationafterdive>";
    }

    common::ResultOr<UddfContent> read(const std::string &text)
    {
        return readUddf({ reinterpret_cast<const std::uint8_t *>(text.data()), text.size() }, {}, "plongees.uddf");
    }

    bool hasNote(const UddfContent &content, const std::string &part)
    {
        for (const std::string &note : content.notes)
            if (note.find(part) != std::string::npos)
                return true;
        return false;
    }

    std::string text(const auto &buffer)
    {
        return logbook::storedToDisplay(logbook::fixedText(buffer));
    }

    // The troubles other programs' files bring, each read into the field it belongs to.
    TEST(UddfImport, ReadsOtherProgramsFilesLeniently)
    {
        const std::string head = "<diver><owner id=\"me\"><personal><firstname>Moi</firstname><lastname/></personal>"
                                 "</owner><buddy id=\"b1\"><personal><firstname>Anne</firstname><lastname>Martin"
                                 "</lastname></personal></buddy><buddy id=\"b2\"><personal><firstname>Paul</firstname>"
                                 "</personal></buddy></diver><diver><owner id=\"me2\"><personal><firstname>X"
                                 "</firstname></personal></owner></diver>"
                                 "<divesite><site id=\"s1\"><name>Les Pierrettes</name><geography><location>Lac "
                                 "Léman</location></geography></site><site id=\"Lac d´Annecy\"><name>Talloires</name>"
                                 "</site></divesite><gasdefinitions><mix id=\"ean32\"><name>EAN32</name><o2>0.32</o2>"
                                 "</mix><mix id=\"air\"><name>Air</name><o2>0.21</o2></mix></gasdefinitions>";
        const std::vector<std::string> dives = {
            // 0: m³, two pressures, a lost nitrox mix, site, buddies and the owner linked.
            before("<link ref=\"s1\"/><link ref=\"b1\"/><link ref=\"b2\"/><link ref=\"me\"/>"
                   "<airtemperature>293.15</airtemperature>")
                + "<tankdata><link ref=\"ean32\"/><tankvolume>0.012</tankvolume><tankpressurebegin>20000000"
                  "</tankpressurebegin><tankpressureend>5000000</tankpressureend></tankdata>"
                + after("<greatestdepth>18.4</greatestdepth><diveduration>2700</diveduration><lowesttemperature>"
                        "287.15</lowesttemperature><visibility>8</visibility><notes><para>Belle &amp; bonne"
                        "</para></notes>"),
            // 1: a date without a time, litres where m³ belong, air, tankdata out of order, the second site.
            after()
                + "<tankdata><link ref=\"air\"/><tankvolume>15</tankvolume><tankpressurebegin>200"
                  "</tankpressurebegin></tankdata>"
                + before("<link ref=\"Lac d´Annecy\"/>", "2019-05-05"),
            // 2: an empty profile, a dangling link, a lost mix link.
            before("<link ref=\"nulle-part\"/>", "2019-05-06T08:00:00+02:00")
                + "<tankdata><link ref=\"ean99\"/><tankpressurebegin>20000000</tankpressurebegin></tankdata>"
                + "<samples/>" + after(),
            // 3: "30 pieds" in a number field, temperatures only in the profile, a spike between two slots.
            before()
                + "<samples><waypoint><depth>0</depth><divetime>0</divetime><temperature>291.15</temperature>"
                  "<tankpressure>20000000</tankpressure></waypoint>"
                  "<waypoint><depth>10</depth><divetime>30</divetime><temperature>289.15</temperature>"
                  "</waypoint><waypoint><alarm>ascent</alarm><depth>30</depth><divetime>35</divetime>"
                  "</waypoint><waypoint><depth>10</depth><divetime>40</divetime><tankpressure>15000000"
                  "</tankpressure></waypoint><waypoint><depth>0</depth><divetime>600</divetime></waypoint>"
                  "</samples>"
                + after("<greatestdepth>30 pieds</greatestdepth>"),
        };
        const auto content = read(foreign(dives, head));
        ASSERT_TRUE(content.ok()) << content.message();
        ASSERT_EQ(content->dives.size(), 4u);
        const DiveRecord &a = content->dives[0];
        EXPECT_EQ(a.tankVolume, 1200);
        EXPECT_EQ(a.extra.tankPressure, 20000);
        EXPECT_EQ(a.airUsed, 15000);
        EXPECT_NE(a.diveType & logbook::dive_type::kNitrox, 0);
        EXPECT_EQ(a.airTemperature, 2000);
        EXPECT_EQ(a.minWaterTemperature, 1400);
        EXPECT_EQ(a.maxDepth, 1840);
        EXPECT_EQ(a.duration, 45);
        EXPECT_EQ(a.extra.visibility, 800);
        EXPECT_EQ(a.date, logbook::dayNumber(4, 5, 2019));
        EXPECT_EQ(a.entryTime, 630);
        EXPECT_EQ(text(a.site), "Les Pierrettes");
        EXPECT_EQ(text(a.place), "Lac Léman");
        EXPECT_EQ(text(a.partners), "Anne Martin, Paul");
        EXPECT_EQ(text(a.comment), "Belle & bonne");

        const DiveRecord &b = content->dives[1];
        EXPECT_EQ(b.date, logbook::dayNumber(5, 5, 2019));
        EXPECT_EQ(b.entryTime, 0);
        EXPECT_EQ(b.tankVolume, 1500);
        EXPECT_EQ(b.extra.tankPressure, 20000);
        EXPECT_EQ(b.diveType & logbook::dive_type::kNitrox, 0);
        EXPECT_EQ(text(b.site), "Talloires");
        EXPECT_TRUE(hasNote(*content, "litres"));

        const DiveRecord &c = content->dives[2];
        EXPECT_EQ(c.entryTime, 8 * 60);
        EXPECT_EQ(c.sampleCount, 0);
        EXPECT_EQ(c.maxDepth, 1840);
        EXPECT_EQ(c.duration, 45);
        EXPECT_EQ(text(c.site), "");
        EXPECT_TRUE(hasNote(*content, "nulle-part"));
        EXPECT_TRUE(hasNote(*content, "ean99"));

        const DiveRecord &d = content->dives[3];
        EXPECT_TRUE(hasNote(*content, "30 pieds"));
        EXPECT_EQ(d.maxDepth, 3000); // from the profile, the spike kept
        EXPECT_EQ(d.duration, 10);
        EXPECT_EQ(d.minWaterTemperature, 1600);
        EXPECT_EQ(d.extra.tankPressure, 20000);
        EXPECT_EQ(d.airUsed, 5000);
        ASSERT_GT(d.sampleCount, 3);
        float deepest = 0.0f;
        bool warned = false;
        for (const logbook::ProfileSample &s : logbook::profileSamples(d)) {
            deepest = std::min(deepest, s.depth);
            warned = warned || (s.markers[0] & 0x04) != 0;
        }
        EXPECT_NEAR(deepest, -30.0f, 0.2f);
        EXPECT_TRUE(warned);
        EXPECT_FALSE(hasNote(*content, "« me »"));
    }

    TEST(UddfImport, AFileWithoutNamespaceOrVersionStillReads)
    {
        const auto content = read(foreign({ before() + after() }, {}, "<uddf>"));
        ASSERT_TRUE(content.ok()) << content.message();
        ASSERT_EQ(content->dives.size(), 1u);
        EXPECT_EQ(content->dives[0].maxDepth, 1840);
    }

    TEST(UddfImport, ALongProfileIsCappedWithANote)
    {
        std::string samples = "<samples>";
        for (int t = 0; t <= 5 * 3600; t += 10)
            samples += "<waypoint><depth>" + std::to_string(t == 0 || t == 5 * 3600 ? 0 : 12) + "</depth><divetime>"
                + std::to_string(t) + "</divetime></waypoint>";
        samples += "</samples>";
        const auto content = read(foreign({ before() + samples + after("<greatestdepth>12</greatestdepth>") }));
        ASSERT_TRUE(content.ok());
        EXPECT_LE(content->dives[0].sampleCount, logbook::kMaxSamples);
        EXPECT_GT(content->dives[0].sampleCount, 600);
        EXPECT_TRUE(hasNote(*content, "coupé"));
        EXPECT_EQ(content->dives[0].duration, 300);
    }

    TEST(UddfImport, RefusesWhatIsNotAWholeUddfFile)
    {
        const std::string whole = foreign({ before() + after() });
        const struct {
            std::string text;
            const char *why;
        } cases[] = {
            { "", "n'est pas" },
            { "<?xml version=\"1.0\"?><logbook/>", "n'est pas un fichier UDDF" },
            { whole.substr(0, whole.size() / 2), "coupé" },
            { "not xml at all", "n'est pas" },
        };
        for (const auto &c : cases) {
            SCOPED_TRACE(c.text.substr(0, 60));
            const auto content = read(c.text);
            ASSERT_FALSE(content.ok());
            EXPECT_EQ(content.status(), common::Status::BadFormat);
            EXPECT_NE(content.message().find("plongees.uddf"), std::string::npos);
            EXPECT_NE(content.message().find(c.why), std::string::npos) << content.message();
        }
    }

    TEST(UddfImport, LoadsNoExternalEntityAndExpandsNoBomb)
    {
        zorv::test::TempDir dir;
        zorv::test::writeFile(dir / "secret.txt", "SECRET");
        const std::string xxe = "<?xml version=\"1.0\"?><!DOCTYPE uddf [<!ENTITY x SYSTEM \"file://"
            + (dir / "secret.txt").string() + "\">]>"
            + foreign({ before()
                          + after("<greatestdepth>1</greatestdepth><diveduration>60</diveduration><notes>"
                                  "<para>&x;</para></notes>") })
                  .substr(22);
        const auto content = read(xxe);
        if (content.ok()) {
            for (const DiveRecord &d : content->dives)
                EXPECT_EQ(std::string(logbook::fixedText(d.comment)).find("SECRET"), std::string::npos);
        }
        std::string bomb
            = "<?xml version=\"1.0\"?><!DOCTYPE uddf [<!ENTITY a \"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa\">";
        for (char e = 'b'; e <= 'k'; ++e) {
            bomb += std::string("<!ENTITY ") + e + " \"";
            for (int i = 0; i < 10; ++i)
                bomb += std::string("&") + static_cast<char>(e - 1) + ";";
            bomb += "\">";
        }
        bomb += "]><uddf><generator><name>&k;</name></generator></uddf>";
        const auto exploded = read(bomb);
        EXPECT_FALSE(exploded.ok());
    }

    TEST(UddfImport, DuplicatesAreSkippedAndTheLimitHolds)
    {
        const std::string file = foreign({ before() + after(), before({}, "2019-05-04T10:31:00") + after(),
            before({}, "2019-05-03T09:00:00") + after() });
        logbook::Logbook book;
        ImportSummary first = addToLogbook(book, std::move(*read(file)));
        EXPECT_EQ(first.added, 2); // the second dive is the first again, a minute later
        EXPECT_EQ(first.duplicates, 1);
        ASSERT_EQ(book.diveCount(), 2);
        EXPECT_EQ(book.dive(1)->date, logbook::dayNumber(3, 5, 2019));
        EXPECT_EQ(book.dive(1)->diveNumber, 1);
        EXPECT_EQ(book.dive(2)->diveNumber, 2);
        const ImportSummary again = addToLogbook(book, std::move(*read(file)));
        EXPECT_EQ(again.added, 0);
        EXPECT_EQ(again.duplicates, 3);
        EXPECT_EQ(summaryLines(again)[1], "Doublons ignorés : 3");

        logbook::Logbook full;
        logbook::generateLogbook(full, { logbook::Logbook::kMaxDives - 1, 3, 1990 });
        const std::string late = foreign({ before({}, "2090-01-01T10:00:00") + after(),
            before({}, "2090-01-02T10:00:00") + after(), before({}, "2090-01-03T10:00:00") + after() });
        const ImportSummary limited = addToLogbook(full, std::move(*read(late)));
        EXPECT_EQ(limited.added, 1);
        EXPECT_EQ(limited.refused, 2);
        EXPECT_EQ(full.diveCount(), logbook::Logbook::kMaxDives);
    }

    TEST(UddfImport, DivesBetweenExistingOnesAreInsertedInDateOrder)
    {
        logbook::Logbook book;
        addToLogbook(book,
            std::move(*read(foreign(
                { before({}, "2019-05-01T10:00:00") + after(), before({}, "2019-05-09T10:00:00") + after() }))));
        const ImportSummary middle
            = addToLogbook(book, std::move(*read(foreign({ before({}, "2019-05-05T10:00:00") + after() }))));
        EXPECT_EQ(middle.added, 1);
        ASSERT_EQ(book.diveCount(), 3);
        EXPECT_EQ(book.dive(2)->date, logbook::dayNumber(5, 5, 2019));
        EXPECT_EQ(book.dive(3)->diveNumber, 3);
    }

} // namespace
} // namespace zorv::uddf
