#include "common/cformat.h"
#include "common/textcodec.h"

#include <array>
#include <cerrno>
#include <clocale>
#include <cstdio>
#include <gtest/gtest.h>
#include <iconv.h>
#include <string>
#include <utility>

namespace {

using zorv::common::cformat;
using zorv::common::cp1252ToUtf8;
using zorv::common::cscan;
using zorv::common::escapeInvalidUtf8;
using zorv::common::firstUtf8Sequence;
using zorv::common::isValidUtf8;
using zorv::common::Utf8Checker;
using zorv::common::utf8ToCp1252;

// The C library's own converter as an independent reference; it has no
// mapping for the five bytes Windows-1252 leaves undefined.
bool systemCp1252ToUtf8(char byte, std::string &out)
{
    iconv_t cd = iconv_open("UTF-8", "CP1252");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return false;
    char in[1] = { byte };
    char buf[8];
    char *inPtr = in;
    char *outPtr = buf;
    std::size_t inLeft = 1;
    std::size_t outLeft = sizeof buf;
    std::size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (rc == static_cast<std::size_t>(-1))
        return false;
    out.assign(buf, sizeof buf - outLeft);
    return true;
}

TEST(TextCodec, EveryByteSurvivesTheRoundTripAndAgreesWithTheSystemConverter)
{
    std::string bytes;
    for (int b = 0; b < 256; ++b)
        bytes.push_back(static_cast<char>(b));
    EXPECT_EQ(utf8ToCp1252(cp1252ToUtf8(bytes)), bytes);
    // The five bytes the converter leaves undefined become C1 controls.
    EXPECT_EQ(cp1252ToUtf8("\x81\x8D\x8F\x90\x9D"), "\u0081\u008D\u008F\u0090\u009D");

    std::string expected;
    if (!systemCp1252ToUtf8('\xE9', expected))
        GTEST_SKIP() << "no CP1252 converter in this C library";
    int compared = 0;
    for (int b = 0; b < 256; ++b) {
        const char byte = static_cast<char>(b);
        if (!systemCp1252ToUtf8(byte, expected))
            continue;
        EXPECT_EQ(cp1252ToUtf8(std::string(1, byte)), expected) << "byte " << b;
        ++compared;
    }
    EXPECT_GE(compared, 251);
}

// Characters without a byte become one '?' each (not one per byte); malformed
// sequences keep their bytes. An overlong form such as "\xC0\xAF" for '/' must not
// decode: it would let a path separator through any check made on the UTF-8 text.
TEST(TextCodec, UnmappableAndMalformedInput)
{
    const std::pair<const char *, const char *> cases[] = { { "12 €", "12 \x80" }, { "Ω", "?" }, { "a日b", "a?b" },
        { "🐟", "?" }, { "\u0080", "?" }, // the C1 control whose byte the euro sign took
        { "caf\xE9", "caf\xE9" }, // Latin-1 typed where UTF-8 was expected
        { "\xC3", "\xC3" }, { "\xE2\x82", "\xE2\x82" }, { "\xC3(", "\xC3(" }, { "\xA9x", "\xA9x" },
        { "\xFF\xFE", "\xFF\xFE" }, { "\xC0\xAF", "\xC0\xAF" }, { "\xE0\x80\xAF", "\xE0\x80\xAF" },
        { "\xC1\xA9", "\xC1\xA9" }, { "\xC2\xA9", "\xA9" } };
    for (const auto &[in, out] : cases)
        EXPECT_EQ(utf8ToCp1252(in), out) << in;
}

// Well-formed UTF-8 is kept and everything else is shown byte by byte: overlong forms,
// surrogates, code points past U+10FFFF and sequences cut short.
TEST(TextCodec, NamesThatAreNotUtf8AreEscaped)
{
    const std::pair<std::string, std::string> cases[]
        = { { "café.log", "café.log" }, { "caf\xE9.log", "caf\\xE9.log" }, { "\xC0\xAF", "\\xC0\\xAF" },
              { "\xED\xA0\x80", "\\xED\\xA0\\x80" }, { "\xF4\x90\x80\x80", "\\xF4\\x90\\x80\\x80" },
              { "a\xE2\x82", "a\\xE2\\x82" }, { "🐟\xFF", "🐟\\xFF" }, { "", "" } };
    for (const auto &[in, out] : cases) {
        EXPECT_EQ(escapeInvalidUtf8(in), out) << in;
        EXPECT_EQ(isValidUtf8(in), in == out) << in;
        EXPECT_TRUE(isValidUtf8(escapeInvalidUtf8(in))) << in;
    }
    EXPECT_EQ(firstUtf8Sequence("\xF0\x9F\x90\x9F").codePoint, U'\U0001F41F');
    EXPECT_EQ(firstUtf8Sequence("\xC3").length, 0u);
}

// A sequence split between two pieces is whole; a piece ending inside one is not the end.
TEST(TextCodec, CheckerTakesPieces)
{
    const std::string text = "Zoé Lefèvre 🐟";
    for (std::size_t cut = 0; cut <= text.size(); ++cut) {
        Utf8Checker checker;
        const auto *bytes = reinterpret_cast<const std::uint8_t *>(text.data());
        checker.feed({ bytes, cut });
        checker.feed({ bytes + cut, text.size() - cut });
        EXPECT_TRUE(checker.valid()) << cut;
    }
    Utf8Checker open;
    const std::uint8_t lead = 0xC3;
    open.feed({ &lead, 1 });
    EXPECT_FALSE(open.valid());
}

// Switches LC_NUMERIC of the whole process to a locale with a decimal comma,
// as a French desktop does, and restores the C locale afterwards.
class DecimalCommaLocale : public testing::Test {
protected:
    void SetUp() override
    {
        for (const char *name : { "fr_FR.UTF-8", "fr_FR.utf8", "fr_FR", "fr_FR@euro", "fr_BE.UTF-8", "de_DE.UTF-8" }) {
            if (std::setlocale(LC_NUMERIC, name) && *std::localeconv()->decimal_point == ',')
                return;
        }
        std::setlocale(LC_NUMERIC, "C");
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    }
    void TearDown() override { std::setlocale(LC_NUMERIC, "C"); }
};

TEST_F(DecimalCommaLocale, FormatsAndScansWithAPoint)
{
    char native[32];
    std::snprintf(native, sizeof native, "%.1f", 12.34);
    ASSERT_STREQ(native, "12,3"); // the locale really is in effect

    EXPECT_EQ(cformat("%.1f", 12.34), "12.3");
    EXPECT_EQ(cformat("%.2f %s", 0.5, "bar"), "0.50 bar");

    double value = 0;
    EXPECT_EQ(cscan("12.5", "%lf", &value), 1);
    EXPECT_DOUBLE_EQ(value, 12.5);
    float f = 0;
    EXPECT_EQ(cscan("12,5", "%f", &f), 1); // a comma ends the number, as in the files
    EXPECT_FLOAT_EQ(f, 12.0f);
    // The caller's locale is back once cformat and cscan return.
    EXPECT_EQ(*std::localeconv()->decimal_point, ',');
}

TEST(CFormat, LongOutputIsNotCut)
{
    // The formatter writes into a small buffer first; lengths around its size
    // take the other path.
    for (std::size_t n : { 0u, 1u, 126u, 127u, 128u, 129u, 1000u }) {
        const std::string text(n, 'x');
        EXPECT_EQ(cformat("%s", text.c_str()), text) << n;
        EXPECT_EQ(cformat("<%s>", text.c_str()), "<" + text + ">") << n;
    }
}

} // namespace
