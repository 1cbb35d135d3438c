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
        logbook::setFixedText(dive.site, "Planier");
        return dive;
    }

    // Three dives numbered 5, 6, 7 on consecutive days.
    Logbook makeLogbook()
    {
        Logbook book;
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

    // Whole files in both unit systems, separators, signs and time forms are compared by the command-line
    // tool's tests; these are the rules those files do not reach.
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

    TEST(CsvExport, ProfileOfADiveWithoutSamplesOrOfAnUnknownNumber)
    {
        Logbook book = makeLogbook();
        DiveRecord dive = *book.dive(2);
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
