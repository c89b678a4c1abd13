// SPDX-License-Identifier: GPL-3.0-or-later
// The number grammars of the box texts (parseSingle, parseDouble,
// parseInteger16) and of exact decimals (Decimal::parse), text by text: what
// each accepts, the value it reads, and what it refuses.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <string_view>

#include "numbers/decimal.h"
#include "numbers/number_scan.h"
#include "numbers/number_text.h"

#include "tests/support/concatenated.h"

using namespace kerf;
using kerf::testing::concatenated;

namespace {

const std::string Zeros400(400, '0');

struct GrammarCase {
    std::string text;
    std::optional<double> boxDouble;  // parseDouble
    std::optional<std::string> exact; // Decimal::parse, as its text
};

// Texts both grammars read alike, apart from the blanks and the range.
const GrammarCase GrammarCases[] = {
    // Digits, signs and the point.
    {"0", 0.0, "0"},
    {"5", 5.0, "5"},
    {"-5", -5.0, "-5"},
    {"+5", 5.0, "5"},
    {".5", 0.5, "0.5"},
    {"-.5", -0.5, "-0.5"},
    {"+.5", 0.5, "0.5"},
    {"5.", 5.0, "5"},
    {"-5.", -5.0, "-5"},
    {"00012.500", 12.5, "12.5"},
    {"0000", 0.0, "0"},
    {concatenated(Zeros400, "1"), 1.0, "1"},
    // Not numbers.
    {"", std::nullopt, std::nullopt},
    {".", std::nullopt, std::nullopt},
    {"-.", std::nullopt, std::nullopt},
    {"+.", std::nullopt, std::nullopt},
    {"-", std::nullopt, std::nullopt},
    {"+", std::nullopt, std::nullopt},
    {"1.2.3", std::nullopt, std::nullopt},
    {"..5", std::nullopt, std::nullopt},
    {"5..", std::nullopt, std::nullopt},
    {"1e3", std::nullopt, std::nullopt},
    {"1E3", std::nullopt, std::nullopt},
    {"1e-3", std::nullopt, std::nullopt},
    {"--1", std::nullopt, std::nullopt},
    {"+-1", std::nullopt, std::nullopt},
    {"-+1", std::nullopt, std::nullopt},
    {"- 1", std::nullopt, std::nullopt},
    {"1.5 2", std::nullopt, std::nullopt},
    {"0x10", std::nullopt, std::nullopt},
    {"inf", std::nullopt, std::nullopt},
    {"nan", std::nullopt, std::nullopt},
    {"1,5", std::nullopt, std::nullopt},
    {"\t1", std::nullopt, std::nullopt},
    {"1\t", std::nullopt, std::nullopt},
    {"\xC2\xA0" "1", std::nullopt, std::nullopt},
    // Blanks around the number: the boxes allow spaces, exact decimals none.
    {" ", std::nullopt, std::nullopt},
    {" 1", 1.0, std::nullopt},
    {"1 ", 1.0, std::nullopt},
    {" -1.5 ", -1.5, std::nullopt},
    // Range: a double reads what it can hold, an exact decimal below 2^96.
    {concatenated("1", std::string(38, '0')), 1e38, std::nullopt},
    {concatenated("1", Zeros400), std::nullopt, std::nullopt},
    {"79228162514264337593543950335", 79228162514264337593543950335.0, "79228162514264337593543950335"},
    {"79228162514264337593543950336", 79228162514264337593543950336.0, std::nullopt},
    // Digits past the double's precision round; an exact decimal keeps 28
    // after the point.
    {"0.1234567890123456789012345678901234567890", 0.12345678901234568, "0.1234567890123456789012345679"},
    {"0.00000000000000000000000000015", 1.5e-28, "0.0000000000000000000000000002"},
    // Too small for a double: refused; an exact decimal rounds it to zero.
    {concatenated("0.", Zeros400, "1"), std::nullopt, "0"},
    {concatenated("-0.", Zeros400, "1"), std::nullopt, "0"},
};

} // namespace

TEST(NumberGrammar, BoxTextsAndExactDecimalsTextByText)
{
    for (const GrammarCase& c : GrammarCases) {
        const std::string_view shown = std::string_view(c.text).substr(0, 50);
        EXPECT_EQ(parseDouble(c.text), c.boxDouble) << '[' << shown << ']';
        const auto exact = Decimal::parse(c.text);
        EXPECT_EQ(exact ? std::optional(exact->text()) : std::nullopt, c.exact) << '[' << shown << ']';
        // The single reads the same texts (its own range aside).
        if (!c.boxDouble) {
            EXPECT_FALSE(parseSingle(c.text).has_value()) << '[' << shown << ']';
        }
    }
}

TEST(NumberGrammar, NegativeZeroKeepsItsSignInABoxAndNotInAnExactDecimal)
{
    EXPECT_TRUE(std::signbit(*parseDouble("-0")));
    EXPECT_TRUE(std::signbit(*parseSingle("-0.0")));
    EXPECT_FALSE(std::signbit(*parseDouble("+0")));
    EXPECT_EQ(Decimal::parse("-0")->text(), "0");
    EXPECT_FALSE(Decimal::parse("-0")->isNegative());
}

TEST(NumberGrammar, TheSingleRefusesWhatItCannotHold)
{
    EXPECT_EQ(parseSingle("340282346638528859811704183484516925440"), 3.40282347e38f);
    EXPECT_FALSE(parseSingle("340282356779733661637539395458142568448").has_value());
    EXPECT_EQ(parseDouble("340282356779733661637539395458142568448"), 340282356779733661637539395458142568448.0);
    EXPECT_FALSE(parseSingle(concatenated("1", std::string(39, '0'))).has_value());
    EXPECT_EQ(parseSingle("0.1234567890123456789012345678901234567890"), 0.123456791f);
}

TEST(NumberGrammar, TheSixteenBitIntegerReadsTheBoxGrammar)
{
    EXPECT_EQ(parseInteger16(" 007 "), 7);
    EXPECT_EQ(parseInteger16("+.5"), 0);
    EXPECT_EQ(parseInteger16("-32768.4"), -32768);
    EXPECT_FALSE(parseInteger16("-32768.6").has_value());
    EXPECT_FALSE(parseInteger16("1e2").has_value());
    EXPECT_FALSE(parseInteger16(" ").has_value());
}

TEST(NumberScan, SplitsTheNumberAndHonoursItsOptions)
{
    const auto number = scanNumber(" -012.50 ", NumberGrammar{.plusSign = true, .surroundingSpaces = true});
    ASSERT_TRUE(number.has_value());
    EXPECT_TRUE(number->negative);
    EXPECT_EQ(number->unsignedText, "012.50");
    EXPECT_EQ(number->whole, "012");
    EXPECT_EQ(number->fraction, "50");
    EXPECT_EQ(toDouble(*number), -12.5);
    const NumberGrammar program{.plusSign = false, .surroundingSpaces = false};
    EXPECT_FALSE(scanNumber("+1", program).has_value());
    EXPECT_FALSE(scanNumber(" 1", program).has_value());
    EXPECT_TRUE(scanNumber("+1", NumberGrammar{}).has_value());
    EXPECT_FALSE(scanNumber("1 ", NumberGrammar{}).has_value());
    EXPECT_EQ(scanNumber(".5", program)->whole, "");
    EXPECT_EQ(scanNumber("5.", program)->fraction, "");
    EXPECT_FALSE(toDouble(*scanNumber(std::string(400, '9'), program)).has_value());
    EXPECT_EQ(toSingle(*scanNumber("0.1", program)), 0.1f);
}
