#include "common/strings.h"
#include "common/stringtable.h"
#include "common/textcodec.h"

#include <climits>
#include <cstddef>
#include <gtest/gtest.h>
#include <string>
#include <string_view>

namespace {

using zorv::common::hasStr;
using zorv::common::isValidUtf8;
using zorv::common::str;
using zorv::common::StringId;
using zorv::common::detail::kStringTable;

// The texts go straight into printf-style formatting; a stray '%' or an
// unknown conversion would read arguments that were never passed.
bool placeholdersAreSafe(std::string_view s)
{
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '%')
            continue;
        ++i;
        while (i < s.size() && (s[i] == '-' || s[i] == '0' || s[i] == ' '))
            ++i;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9')
            ++i;
        if (i == s.size() || std::string_view("dusc%").find(s[i]) == std::string_view::npos)
            return false;
    }
    return true;
}

struct Sample {
    StringId id;
    const char *text;
};

class StringTableSample : public testing::TestWithParam<Sample> { };

TEST_P(StringTableSample, HasTheTextTheUserSees)
{
    EXPECT_TRUE(hasStr(GetParam().id));
    EXPECT_EQ(str(GetParam().id), GetParam().text);
}

// The ids are the numbers the program has always used for these texts.
TEST(StringTable, IdsKeepTheirNumbers)
{
    EXPECT_EQ(static_cast<int>(StringId::MenuHelp), 110);
    EXPECT_EQ(static_cast<int>(StringId::MenuSearchReplace), 32816);
    EXPECT_EQ(static_cast<int>(StringId::AppTitle), 57344);
    EXPECT_EQ(static_cast<int>(StringId::ColumnComment), 62791);
}

// Blanks, line breaks, tabs, the acute accent used as a quote and the
// printf placeholders are all part of what the program shows.
INSTANTIATE_TEST_SUITE_P(AcrossTheProgram, StringTableSample,
    testing::Values(Sample { StringId::MenuHelp, "&?" },
        Sample {
            StringId::DocumentTemplate, "Zorv\n\nZorv\nType fichier Zorv (*.log)\n.log\nZorv.Document\nZorv Document" },
        Sample { StringId::MenuSearchReplace, "&Chercher et remplacer" },
        Sample { StringId::MenuOpenLogbook, "&Ouvrir...\tF3 / Ctrl+O" }, Sample { StringId::UnitCelsius, "°C" },
        Sample { StringId::AskOverwriteFile, "´%s´ existe déjà\nÉcraser le fichier ?" },
        Sample { StringId::ForecastReached, "   %5d plongées atteintes le %2d.%02d.%04d" },
        Sample { StringId::TransferError, "      Erreur de transmission      " },
        Sample {
            StringId::ServiceReminder, "ATTENTION\nUne pièce de votre équipement\na dépassé la date de révision !" }));

TEST(StringTable, PlannerResultKeepsItsLayoutAndArgumentOrder)
{
    const std::string_view text = str(StringId::PlannerResult);
    EXPECT_TRUE(text.starts_with("\n Durée:\t\t%d min\n Temps de remontée:\t\t%d min\n Groupe de pression:\t%s\n"));
    EXPECT_TRUE(
        text.ends_with(" Pression restante:\t\t%d bar\n Pression consommée:\t\t%d bar\n Cons. air:\t\t%d bar·l\n"));
    std::size_t conversions = 0;
    for (std::size_t at = text.find('%'); at != std::string_view::npos; at = text.find('%', at + 1))
        ++conversions;
    EXPECT_EQ(conversions, 14u);
}

TEST(StringTable, UnknownIdsGiveAnEmptyText)
{
    for (int id : { 0, 105, 62471, 62632, 62744, 62786, 62792, 65535 }) {
        EXPECT_FALSE(hasStr(static_cast<StringId>(id))) << id;
        EXPECT_TRUE(str(static_cast<StringId>(id)).empty()) << id;
    }
}

TEST(StringTable, EveryEntryIsFoundAndWellFormed)
{
    int previous = -1;
    for (const auto &entry : kStringTable) {
        const int id = static_cast<int>(entry.id);
        EXPECT_LT(previous, id);
        previous = id;
        EXPECT_EQ(str(entry.id).data(), entry.french().data()) << id;
        EXPECT_FALSE(entry.french().empty()) << id;
        EXPECT_TRUE(isValidUtf8(entry.french())) << id;
        EXPECT_TRUE(placeholdersAreSafe(entry.french())) << id;
        // A backslash would mean an escape was written twice, e.g. "\\n" instead of a line break.
        EXPECT_EQ(entry.french().find('\\'), std::string_view::npos) << id;
    }
    EXPECT_GE(kStringTable.size(), 300u);
}

} // namespace
