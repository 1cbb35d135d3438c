#include "common/editlock.h"
#include "common/strings.h"
#include "common/stringtable.h"
#include "common/translation.h"

#include <clocale>
#include <cstdlib>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <string_view>

namespace {

using zorv::common::str;
using zorv::common::StringId;
using zorv::common::detail::kStringTable;

// The printf conversions of a text in order: a translation that reorders or drops one would
// read the wrong argument.
std::string conversions(std::string_view s)
{
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '%')
            continue;
        std::size_t end = i + 1;
        while (end < s.size() && std::string_view("dusc%").find(s[end]) == std::string_view::npos)
            ++end;
        out += s.substr(i, end + 1 - i);
        i = end;
    }
    return out;
}

// Switches the texts to a language for one test and back to the program's French after it.
class Language : public testing::Test {
protected:
    void use(const char *language)
    {
        setenv("LANGUAGE", language, 1);
        zorv::common::setUpTranslations({}, ZORV_LOCALE_DIR);
    }
    void TearDown() override
    {
        unsetenv("LANGUAGE");
        std::setlocale(LC_MESSAGES, "C");
        zorv::common::setUpTranslations({}, ZORV_LOCALE_DIR);
    }
};

TEST_F(Language, EveryTextHasItsEnglish)
{
    use("en");
    EXPECT_EQ(zorv::common::textLanguage(), "en");
    // Units, names, abbreviations and words that English writes as French does.
    const std::set<StringId> same = { StringId::MenuHelp, StringId::AttentionCaption, StringId::AppTitle,
        StringId::IndicatorNum, StringId::ColumnDate, StringId::ColumnSite, StringId::ColumnType,
        StringId::ColumnDescription, StringId::ColumnDestination, StringId::TankAluminium, StringId::SuitShorty,
        StringId::DiveTypeNitrox, StringId::DiveTypeDeco, StringId::ActivityQualification,
        StringId::ActivityInstruction, StringId::WarningSos, StringId::SecondSoloShort, StringId::SecondCheckDiveShort,
        StringId::MenuImportCitizen, StringId::MenuImportGuardian, StringId::TransferInterface,
        StringId::ComputerImport, StringId::GasAir, StringId::GasNitrox, StringId::GasOxygen, StringId::AxisMinutes,
        StringId::WeekdaySaturday, StringId::MonthOctober, StringId::MonthNovember, StringId::MonthSeptember,
        StringId::MonthJanuary, StringId::ColumnSuitModel };
    for (const auto &entry : kStringTable) {
        const std::string_view french = entry.french();
        const std::string_view english = str(entry.id);
        const int id = static_cast<int>(entry.id);
        EXPECT_FALSE(english.empty()) << id;
        EXPECT_EQ(conversions(english), conversions(french)) << id << " " << english;
        EXPECT_EQ(english.find('\t') == std::string_view::npos, french.find('\t') == std::string_view::npos) << id;
        const bool unit = entry.id >= StringId::UnitMetres && entry.id <= StringId::UnitPounds;
        const bool altitude = french.find(" ... ") != std::string_view::npos;
        if (!unit && !altitude && !same.contains(entry.id)) {
            EXPECT_NE(english, french) << id << " is still French";
        }
    }
    EXPECT_EQ(str(StringId::MonthAugust), "Aug");
    EXPECT_EQ(str(StringId::ColumnTime), "Time");
    EXPECT_EQ(str(StringId::ColumnDuration), "Duration");
    EXPECT_EQ(std::string_view(zorv::common::tr("Palanquée:")), "Buddies:");
}

// A desktop in a language the program has no catalogue for, or in C, gets the French.
// The lock keeps the French words every copy writes; an English copy names the holder in English.
TEST_F(Language, TheEditLocksHolderIsShownInTheLanguage)
{
    const std::string stored = "anne sur reef (processus 42)";
    EXPECT_EQ(zorv::common::shownHolder(stored), stored);
    use("en");
    EXPECT_EQ(zorv::common::shownHolder(stored), "anne on reef (process 42)");
    for (const char *other : { "un autre programme", "anne sur reef (processus x)", "sur (processus 1" })
        EXPECT_EQ(zorv::common::shownHolder(other), other) << "not a holder this program wrote: shown as it is";
}

TEST_F(Language, OtherLanguagesKeepTheFrench)
{
    for (const char *language : { "de_DE", "fr_FR", "C" }) {
        use(language);
        EXPECT_EQ(zorv::common::textLanguage(), "fr") << language;
        EXPECT_EQ(str(StringId::MonthAugust), "Août") << language;
        EXPECT_EQ(str(StringId::ColumnDuration), "Heure") << language;
        EXPECT_EQ(std::string_view(zorv::common::tr("Palanquée:")), "Palanquée:") << language;
    }
}

} // namespace
