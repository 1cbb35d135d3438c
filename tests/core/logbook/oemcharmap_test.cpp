#include "logbook/oemcharmap.h"

#include <gtest/gtest.h>
#include <string>

namespace zorv::logbook {
namespace {

    struct CharCase {
        std::string stored;
        std::string display;
    };

    class OemCharMapPairs : public testing::TestWithParam<CharCase> { };

    TEST_P(OemCharMapPairs, ConvertsBothWays)
    {
        EXPECT_EQ(storedToDisplay(GetParam().stored), GetParam().display);
        EXPECT_EQ(displayToStored(GetParam().display), GetParam().stored);
    }

    INSTANTIATE_TEST_SUITE_P(Logbook, OemCharMapPairs,
        testing::Values(CharCase { std::string("\x81") + "ber", "über" },
            CharCase { std::string("Stra\xE1") + "e", "Straße" }, CharCase { "Lac L\x82man", "Lac Léman" },
            CharCase { std::string("Espa\xA4") + "a", "España" }, CharCase { "25\xA7", "25°" },
            CharCase { "Gar\x87on \x8E\x99\x9A", "Garçon ÄÖÜ" }, CharCase { "l\x27\xEF", "l´`" },
            CharCase { "plain ASCII 123", "plain ASCII 123" }));

    TEST(OemCharMap, TypedApostropheAndDiaeresisIQuirks)
    {
        // A typed apostrophe is stored as it is and comes back as an acute accent.
        EXPECT_EQ(displayToStored("l'eau"), "l'eau");
        EXPECT_EQ(storedToDisplay(displayToStored("l'eau")), "l´eau");
        // ï is stored by the earlier pair (0x8B), not as 0xEF, which shows a backtick.
        EXPECT_EQ(displayToStored("ï"), "\x8B");
        EXPECT_EQ(ansiToOem("\xEF"), "\x8B");
        EXPECT_EQ(oemToAnsi("\xEF"), "`");
    }

    TEST(OemCharMap, EveryStoredByteButTheDisplayOnlyCodesSurvivesTheUtf8RoundTrip)
    {
        // Codes that are display targets but not stored codes are re-stored as their pair.
        const std::string displayOnly
            = std::string("\xC4\xD6\xDC\xE4\xF6\xFC\xDF\xE0\xE2\xE9\xE8\xEA\xEB\xC9\xF3\xF2\xF4\xFA\xF9")
            + "\xFB\xED\xEC\xEE\xF1\xD1\xE7\xC7\xB4\x60\xB0";
        for (int b = 1; b < 256; ++b) {
            const std::string stored(1, static_cast<char>(b));
            if (displayOnly.find(stored) != std::string::npos)
                EXPECT_NE(displayToStored(storedToDisplay(stored)), stored) << b;
            else
                EXPECT_EQ(displayToStored(storedToDisplay(stored)), stored) << b;
        }
    }

} // namespace
} // namespace zorv::logbook
