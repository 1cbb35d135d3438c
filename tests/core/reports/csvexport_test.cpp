#include "logbook/logbook.h"
#include "reports/csvexport.h"

#include <gtest/gtest.h>

namespace zorv::reports {
namespace {

    using logbook::DiveRecord;
    using logbook::Logbook;

    constexpr std::string_view kBom = "\xEF\xBB\xBF";

    DiveRecord makeDive(int number, std::uint32_t day)
    {
        DiveRecord dive;
        dive.diveNumber = static_cast<std::int16_t>(number);
        dive.date = day;
        dive.entryTime = 10 * 60 + 5;
        dive.duration = 47;
        dive.maxDepth = 2345;
        dive.airTemperature = 2150;
        dive.minWaterTemperature = 1400;
        dive.tankVolume = 1200;
        dive.airUsed = 15000;
        dive.extra.weights = 650;
        dive.extra.visibility = 1500;
        dive.extra.tankPressure = 20000;
        logbook::setFixedText(dive.place, "Marseille");
        logbook::setFixedText(dive.site, "Planier");
        logbook::setFixedText(dive.partners, "Anne, Paul");
        logbook::setFixedText(dive.comment,
            "Belle plong\x82"
            "e");
        return dive;
    }

    // Three dives numbered 5, 6, 7 on consecutive days.
    Logbook makeLogbook(logbook::UnitSystem units = logbook::UnitSystem::Metric)
    {
        Logbook book;
        book.setUnitSystem(units);
        for (int i = 0; i < 3; ++i) {
            DiveRecord dive = makeDive(5 + i, 730000u + static_cast<std::uint32_t>(i));
            EXPECT_TRUE(book.insertDive(dive));
        }
        book.renumber(5);
        return book;
    }

    std::uint32_t bits(std::initializer_list<CsvField> fields)
    {
        std::uint32_t set = 0;
        for (const CsvField f : fields)
            set |= csvBit(f);
        return set;
    }

    TEST(CsvExport, HelpersChangeOnlyWhatTheyShould)
    {
        EXPECT_EQ(decimalComma("12.3"), "12,3");
        EXPECT_EQ(decimalComma("1.2.3"), "1,2.3");
        EXPECT_EQ(decimalComma("12"), "12");
        EXPECT_EQ(cleanComment("a;b\tc\nd\re"), "a,b c d e");
        EXPECT_EQ(csvFieldByName("maxDepth"), 5);
        EXPECT_EQ(csvFieldByName("model"), 20);
        EXPECT_EQ(csvFieldByName("nope"), -1);
        // Any separator but 1 is a semicolon; bits beyond the 26 fields are dropped.
        const CsvChoices choices = CsvChoices::fromSettings(-1, 7, 1, 1);
        EXPECT_EQ(choices.fieldSet, (1u << 26) - 1);
        EXPECT_EQ(choices.separator, CsvSeparator::Semicolon);
        EXPECT_EQ(choices.sign, CsvDepthSign::Positive);
        EXPECT_EQ(choices.timeFormat, CsvTimeFormat::HoursMinutesSeconds);
    }

    TEST(CsvExport, TableOfEveryFieldInColumnOrder)
    {
        const Logbook book = makeLogbook();
        CsvChoices choices;
        choices.fieldSet = ((1u << 26) - 1) & ~csvBit(CsvField::Profile);
        const auto csv = exportCsv(book, 6, 7, choices);
        ASSERT_TRUE(csv.ok());
        const std::string header = "Numéro;Date;Heure;Lieu;Endroit;MaxProf.;DProf;Heure;Cons.Moy;Niveau d'altitude;"
                                   "Temps;Visibilité;Combinaison;Combi.-modèle;Plombs;Type de plongée;Activité;"
                                   "Partenaire;Bouteille;Mat. bouteille;Pression-bouteille;Cons. air;Temp. eau;"
                                   "Temp. air;Commentaire;\n";
        ASSERT_EQ(csv->substr(0, kBom.size()), kBom);
        const std::string body = csv->substr(kBom.size());
        ASSERT_EQ(body.substr(0, header.size()), header);
        const std::string rows = body.substr(header.size());
        // Two rows (dives 6 and 7), each value followed by the separator, decimal commas where marked.
        EXPECT_EQ(std::count(rows.begin(), rows.end(), '\n'), 2);
        EXPECT_EQ(rows.substr(0, 2), "6;");
        EXPECT_NE(rows.find(";Marseille;Planier;23,4;"), std::string::npos) << rows;
        EXPECT_NE(rows.find(";00:47;"), std::string::npos) << rows;
        EXPECT_NE(rows.find(";15;"), std::string::npos) << rows; // visibility, no decimals
        EXPECT_NE(rows.find(";6,5;"), std::string::npos) << rows; // weights
        EXPECT_NE(rows.find(";Anne, Paul;12,0;"), std::string::npos) << rows;
        EXPECT_NE(rows.find(";14,0;21,5;Belle plongée;\n"), std::string::npos) << rows;
    }

    TEST(CsvExport, ImperialValuesAndTabs)
    {
        const Logbook book = makeLogbook(logbook::UnitSystem::Imperial);
        CsvChoices choices;
        choices.separator = CsvSeparator::Tab;
        choices.fieldSet = bits({ CsvField::DiveNumber, CsvField::MaxDepth, CsvField::WaterTemperature });
        const auto csv = exportCsv(book, 5, 5, choices);
        ASSERT_TRUE(csv.ok());
        EXPECT_EQ(csv->substr(kBom.size()), "Numéro\tMaxProf.\tTemp. eau\t\n5\t77\t57,2\t\n");
    }

    TEST(CsvExport, RangeRules)
    {
        const Logbook book = makeLogbook();
        CsvChoices choices;
        choices.fieldSet = bits({ CsvField::DiveNumber });
        // First above last, both inside the logbook: the header alone.
        const auto reversed = exportCsv(book, 7, 5, choices);
        ASSERT_TRUE(reversed.ok());
        EXPECT_EQ(reversed.value(), std::string(kBom) + "Numéro;\n");

        const auto below = exportCsv(book, 4, 7, choices);
        EXPECT_EQ(below.message(), "Numéro de plongée hors limites");
        EXPECT_FALSE(exportCsv(book, 5, 8, choices).ok());
        EXPECT_FALSE(exportCsv(Logbook {}, 1, 1, choices).ok());

        choices.fieldSet = 0;
        EXPECT_EQ(exportCsv(book, 5, 7, choices).message(), "Aucun champ n'est choisi");
    }

    TEST(CsvExport, TextsHoldingTheSeparatorAreQuoted)
    {
        Logbook book;
        DiveRecord dive = makeDive(1, 730000);
        logbook::setFixedText(dive.place, "Cassis; calanque \"En-Vau\"");
        logbook::setFixedText(dive.comment, "froid;\r\nsuper");
        ASSERT_TRUE(book.insertDive(dive));
        CsvChoices choices;
        choices.fieldSet = bits({ CsvField::Place, CsvField::Site, CsvField::Comment });
        const auto csv = exportCsv(book, 1, 1, choices);
        ASSERT_TRUE(csv.ok());
        EXPECT_EQ(csv->substr(kBom.size()),
            "Lieu;Endroit;Commentaire;\n\"Cassis; calanque \"\"En-Vau\"\"\";Planier;froid,  super;\n");
        // With tabs the semicolon is harmless, the quotes are not.
        choices.separator = CsvSeparator::Tab;
        const auto tabbed = exportCsv(book, 1, 1, choices);
        EXPECT_NE(tabbed->find("\"Cassis; calanque \"\"En-Vau\"\"\"\t"), std::string::npos);
    }

    TEST(CsvExport, ProfileOfOneDive)
    {
        Logbook book = makeLogbook();
        DiveRecord dive = *book.dive(2);
        dive.sampleCount = 4;
        dive.samples.resize(dive.sampleCount);
        dive.samples[1].depth = -4.0f;
        dive.samples[2].depth = -12.3f;
        dive.samples[3].depth = -0.04f;
        book.putDive(dive, 2);

        struct Case {
            CsvDepthSign sign;
            CsvTimeFormat time;
            const char *samples;
        };
        const Case cases[] = {
            { CsvDepthSign::Negative, CsvTimeFormat::Seconds, ";0;0,0\n;20;-4,0\n;40;-12,3\n;60;-0,0\n" },
            { CsvDepthSign::Positive, CsvTimeFormat::HoursMinutesSeconds,
                ";0:00:00;-0,0\n;0:00:20;4,0\n;0:00:40;12,3\n;0:01:00;0,0\n" },
        };
        for (const Case &c : cases) {
            CsvChoices choices;
            choices.fieldSet = bits({ CsvField::Profile, CsvField::DiveNumber, CsvField::Place });
            choices.sign = c.sign;
            choices.timeFormat = c.time;
            const auto csv = exportCsv(book, 5, 6, choices); // the profile of the dive numbered "last"
            ASSERT_TRUE(csv.ok());
            EXPECT_EQ(csv->substr(kBom.size()),
                std::string("Numéro;6\nLieu;Marseille\nProfil;Seconde;Profondeur\n") + c.samples);
        }

        // A dive without samples: its field lines and the profile header only; an unknown number refused.
        CsvChoices choices;
        choices.fieldSet = bits({ CsvField::Profile });
        EXPECT_EQ(exportCsv(book, 5, 7, choices).value(), std::string(kBom) + "Profil;Seconde;Profondeur\n");
        dive.diveNumber = 8; // numbers 5, 8, 7: none is 6
        book.putDive(dive, 2);
        EXPECT_EQ(exportCsv(book, 5, 6, choices).message(), "Plongée introuvable");
    }

} // namespace
} // namespace zorv::reports
