#include "qtglue/qcolour.h"
#include "qtglue/qtext.h"

#include <gtest/gtest.h>
#include <string>

using namespace zorv;

namespace {

struct TextCase {
    const char *name;
    std::string bytes; // as the core or a file holds them
    QString text; // as Qt shows them
};

} // namespace

// Each form of text reaches Qt and comes back byte for byte.
TEST(QtGlueText, EveryFormRoundTrips)
{
    const TextCase utf8[] = {
        { "ascii", "Lac de Garde", QStringLiteral("Lac de Garde") },
        { "accents", "Néoprène 7 mm", QStringLiteral("Néoprène 7 mm") },
        { "beyond Latin-1", "€ Ωmega", QStringLiteral("€ Ωmega") },
    };
    for (const TextCase &c : utf8) {
        EXPECT_EQ(qtglue::toQt(c.bytes), c.text) << c.name;
        EXPECT_EQ(qtglue::fromQt(c.text), c.bytes) << c.name;
    }

    const TextCase ansi[] = {
        { "euro and umlaut", "\x80 S\xFC\xDF", QStringLiteral("€ Süß") },
        { "undefined byte kept as a C1 control", "a\x81z", QStringLiteral("a\u0081z") },
    };
    for (const TextCase &c : ansi) {
        EXPECT_EQ(qtglue::fromWindows1252(c.bytes), c.text) << c.name;
        EXPECT_EQ(qtglue::toWindows1252(c.text), c.bytes) << c.name;
    }
    // A character the code page lacks cannot be kept.
    EXPECT_EQ(qtglue::toWindows1252(QStringLiteral("Ω")), "?");

    // Logbooks keep the DOS OEM bytes: ü is 0x81 there, 0xFC in Windows-1252.
    EXPECT_EQ(qtglue::toStored(QStringLiteral("Müller")), "M\x81ller");
    EXPECT_EQ(qtglue::fromStored("M\x81ller"), QStringLiteral("Müller"));
}

// The canvas keeps red in the low byte; Qt must get the channels in their places.
TEST(QtGlueColour, ChannelsKeepTheirPlaces)
{
    const canvas::Rgb colour = canvas::rgb(255, 128, 1);
    EXPECT_EQ(qtglue::toQColor(colour), QColor(255, 128, 1));
    EXPECT_EQ(qtglue::fromQColor(QColor(255, 128, 1)), colour);
    for (const canvas::Rgb c : { canvas::rgb(0, 0, 0), canvas::rgb(255, 255, 255), canvas::rgb(1, 2, 3) })
        EXPECT_EQ(qtglue::fromQColor(qtglue::toQColor(c)), c);
    // A colour given as HSV, or with alpha, still comes back as plain red, green and blue.
    EXPECT_EQ(qtglue::fromQColor(QColor::fromHsv(0, 255, 255, 10)), canvas::rgb(255, 0, 0));
}
