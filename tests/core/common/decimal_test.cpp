#include "common/decimal.h"

#include <clocale>
#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace {

using zorv::common::parseDecimal;

struct DecimalCase {
    const char *text;
    std::optional<double> value;
};

class Decimal : public testing::TestWithParam<DecimalCase> { };

TEST_P(Decimal, ReadsOrRefuses)
{
    const std::optional<double> got = parseDecimal(GetParam().text);
    ASSERT_EQ(got.has_value(), GetParam().value.has_value()) << "« " << GetParam().text << " »";
    if (got) {
        EXPECT_DOUBLE_EQ(*got, *GetParam().value) << GetParam().text;
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, Decimal,
    testing::Values(DecimalCase { "18,5", 18.5 }, DecimalCase { "18.5", 18.5 }, DecimalCase { "  18,5\t", 18.5 },
        DecimalCase { "-3", -3.0 }, DecimalCase { "+2,25", 2.25 }, DecimalCase { ",5", 0.5 },
        DecimalCase { "18.", 18.0 }, DecimalCase { "007", 7.0 }, DecimalCase { "-0,0", 0.0 },
        DecimalCase { "99999999", 99999999.0 },
        // Refused: what a formatted scan would have cut or misread.
        DecimalCase { "", std::nullopt }, DecimalCase { "   ", std::nullopt }, DecimalCase { "abc", std::nullopt },
        DecimalCase { "18,5 m", std::nullopt }, DecimalCase { "18abc", std::nullopt },
        DecimalCase { "1e3", std::nullopt }, DecimalCase { "1e309", std::nullopt }, DecimalCase { "inf", std::nullopt },
        DecimalCase { "-nan", std::nullopt }, DecimalCase { "1.000,5", std::nullopt },
        DecimalCase { "1 000", std::nullopt }, DecimalCase { "--3", std::nullopt }, DecimalCase { "-", std::nullopt },
        DecimalCase { ",", std::nullopt }, DecimalCase { "0x10", std::nullopt }, DecimalCase { "- 3", std::nullopt }));

TEST(Decimal, HugeDigitStringsAreRefusedNotInfinite)
{
    EXPECT_FALSE(parseDecimal(std::string(400, '9')));
    EXPECT_TRUE(parseDecimal(std::string(300, '9')));
}

TEST(Decimal, TheLocaleDoesNotMatter)
{
    // The program runs under the user's locale; a German one must not change what a point means.
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    EXPECT_EQ(parseDecimal("18.5"), 18.5);
    EXPECT_EQ(parseDecimal("18,5"), 18.5);
    std::setlocale(LC_NUMERIC, "C");
}

} // namespace
