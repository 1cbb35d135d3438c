#include "logbook/oemcharmap.h"
#include "logbook/secondactivities.h"

#include <gtest/gtest.h>
#include <string>

namespace zorv::logbook {
namespace {

    TEST(SecondActivities, FlagBitsInAdvancedModeAndTextInStandardMode)
    {
        DiveRecord d;
        d.extra.extraFlags = extra_flags::kBoat | extra_flags::kDiveLeader | 0x01;
        setSecondActivities(d, Mode::Advanced, 0x84, false);
        EXPECT_EQ(d.extra.extraFlags, extra_flags::kBoat | extra_flags::kDiveLeader | 0x84);
        EXPECT_EQ(secondActivities(d, Mode::Advanced), 0x84);
        EXPECT_EQ(fixedText(d.otherActivities), "");

        d = DiveRecord {};
        setFixedText(d.otherActivities, "Biologie");
        setSecondActivities(d, Mode::Standard, 0x07, false);
        // "Chambre compression" would make 42 characters and is left out.
        EXPECT_EQ(storedToDisplay(fixedText(d.otherActivities)), "Biologie, Pl. travail, Pl. solo");
        EXPECT_EQ(secondActivities(d, Mode::Standard), 0x03);
        EXPECT_EQ(d.extra.extraFlags, 0);

        // Rewriting replaces the names instead of adding to them.
        setSecondActivities(d, Mode::Standard, 0x12, true);
        EXPECT_EQ(storedToDisplay(fixedText(d.otherActivities)), "Biologie, Solo, PrüfTG");
        EXPECT_EQ(secondActivities(d, Mode::Standard), 0x12);
        setSecondActivities(d, Mode::Standard, 0, true);
        EXPECT_EQ(fixedText(d.otherActivities), "Biologie");

        setFixedText(d.otherActivities, "");
        setSecondActivities(d, Mode::Standard, 0x80, false);
        EXPECT_EQ(fixedText(d.otherActivities), "Pl. check");
    }

    struct FitCase {
        std::size_t baseLength;
        const char *expectedTail;
    };

    class SecondSetFit : public testing::TestWithParam<FitCase> { };

    TEST_P(SecondSetFit, NamesAreSeparatedWithinFortyCharacters)
    {
        DiveRecord d;
        const std::string base(GetParam().baseLength, 'x');
        setFixedText(d.otherActivities, base);
        setSecondActivities(d, Mode::Standard, 0x02, false); // "Pl. solo", 8 characters
        EXPECT_EQ(fixedText(d.otherActivities), base + GetParam().expectedTail);
    }

    INSTANTIATE_TEST_SUITE_P(SecondActivities, SecondSetFit,
        testing::Values(FitCase { 30, ", Pl. solo" }, FitCase { 31, ",Pl. solo" }, FitCase { 32, "" }));

} // namespace
} // namespace zorv::logbook
