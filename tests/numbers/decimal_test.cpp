// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "numbers/decimal.h"

using kerf::Decimal;

namespace {

Decimal dec(const char* text)
{
    const auto value = Decimal::parse(text);
    EXPECT_TRUE(value.has_value()) << text;
    return value.value_or(Decimal());
}

} // namespace

TEST(Decimal, ParsesAndWritesPlainTexts)
{
    const struct { const char* in; const char* out; } cases[] = {
        {"0", "0"}, {"2", "2"}, {"2.000", "2"}, {"0.051", "0.051"}, {"-0.088335", "-0.088335"},
        {".5", "0.5"}, {"5.", "5"}, {"007.250", "7.25"}, {"-0", "0"}, {"+3.1", "3.1"},
        {"123456789012345678901234567.8", "123456789012345678901234567.8"},
        {"0.0000000000000000000000000001", "0.0000000000000000000000000001"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(dec(c.in).text(), c.out) << c.in;
}

TEST(Decimal, RefusesTextsThatAreNotNumbers)
{
    for (const char* text : {"", ".", "-", "1.2.3", "1e3", "12a", " 1", "--1", "0x10"})
        EXPECT_FALSE(Decimal::parse(text).has_value()) << text;
}

TEST(Decimal, RoundsDigitsPastTheTwentyEighthToEven)
{
    EXPECT_EQ(dec("0.00000000000000000000000000015").text(), "0.0000000000000000000000000002");
    EXPECT_EQ(dec("0.00000000000000000000000000025").text(), "0.0000000000000000000000000002");
}

TEST(Decimal, ReadsFractionsOfAnyLength)
{
    const std::string zeros27(27, '0');
    const std::string zeros60(60, '0');
    // More digits than 128 bits hold: rounded like short texts.
    EXPECT_EQ(dec(("0." + std::string(45, '1')).c_str()).text(), "0." + std::string(28, '1'));
    EXPECT_EQ(dec(("-1." + std::string(45, '9')).c_str()).text(), "-2");
    // A tie stays a tie however many zeros follow; any digit past them breaks it.
    EXPECT_EQ(dec(("0." + zeros27 + "25" + zeros60).c_str()).text(), "0." + zeros27 + "2");
    EXPECT_EQ(dec(("0." + zeros27 + "25" + zeros60 + "1").c_str()).text(), "0." + zeros27 + "3");
    EXPECT_EQ(dec(("0." + zeros27 + "35" + zeros60).c_str()).text(), "0." + zeros27 + "4");
    EXPECT_EQ(dec(("0." + zeros27 + "14" + zeros60 + "9").c_str()).text(), "0." + zeros27 + "1");
}

TEST(Decimal, SumsAndDifferencesAcrossScalesAreExact)
{
    EXPECT_EQ((dec("2.625") - dec("0.052")).text(), "2.573");
    EXPECT_EQ((dec("0.1") + dec("0.2")).text(), "0.3");
    EXPECT_EQ((dec("1") - dec("0.0000000000000000000000000001")).text(),
              "0.9999999999999999999999999999");
    EXPECT_EQ((dec("-1.5") + dec("1.5")).text(), "0");
    EXPECT_EQ((dec("-1.5") - dec("2.25")).text(), "-3.75");
    // A long walk accumulates nothing: 1000 steps of 0.001 from 2.625.
    Decimal x = dec("2.625");
    for (int i = 0; i < 1000; ++i)
        x = x - dec("0.001");
    EXPECT_EQ(x.text(), "1.625");
}

TEST(Decimal, ProductsAndHalves)
{
    EXPECT_EQ((dec("0.051") * -3).text(), "-0.153");
    EXPECT_EQ((dec("0.026") * dec("1.73205080756888")).text(), "0.04503332099679088");
    EXPECT_EQ(dec("0.102").half().text(), "0.051");
    EXPECT_EQ(dec("0.001").half().text(), "0.0005");
    EXPECT_EQ(dec("-3").half().text(), "-1.5");
    EXPECT_EQ((dec("2.5") * 0).text(), "0");
}

TEST(Decimal, RoundsToPlaces)
{
    EXPECT_EQ(dec("0.04503332099679088").roundedHalfEven(6).text(), "0.045033");
    EXPECT_EQ(dec("0.0000025").roundedHalfEven(6).text(), "0.000002");
    EXPECT_EQ(dec("0.0000035").roundedHalfEven(6).text(), "0.000004");
    EXPECT_EQ(dec("0.0000025").roundedHalfAway(6).text(), "0.000003");
    EXPECT_EQ(dec("-0.0000025").roundedHalfAway(6).text(), "-0.000003");
    EXPECT_EQ(dec("-0.0000004").roundedHalfAway(6).text(), "0");
    EXPECT_EQ(dec("1.5").roundedHalfEven(6).text(), "1.5");
}

TEST(Decimal, ConvertsFloatsByTheirShownDigits)
{
    EXPECT_EQ(Decimal::fromSingle(0.05f).text(), "0.05");
    EXPECT_EQ(Decimal::fromSingle(2.625f).text(), "2.625");
    EXPECT_EQ(Decimal::fromSingle(0.1f).text(), "0.1");
    EXPECT_EQ(Decimal::fromSingle(1.0f / 3.0f).text(), "0.3333333");
    EXPECT_EQ(Decimal::fromSingle(123456789.0f).text(), "123456800");
    EXPECT_EQ(Decimal::fromDouble(0.1 + 0.2).text(), "0.3");
    EXPECT_EQ(Decimal::fromDouble(3 * 0.028868).text(), "0.086604");
    EXPECT_EQ(Decimal::fromDouble(-1.0 / 3.0).text(), "-0.333333333333333");
    EXPECT_EQ(Decimal::fromDouble(0.0).text(), "0");
    EXPECT_THROW(Decimal::fromDouble(1e40), std::overflow_error);
}

TEST(Decimal, ConvertsToFloatsCorrectlyRounded)
{
    EXPECT_EQ(dec("0.1").toDouble(), 0.1);
    EXPECT_EQ(dec("-2.625").toDouble(), -2.625);
    EXPECT_EQ(dec("0.3333333").toSingle(), 0.3333333f);
    EXPECT_EQ(dec("0.1234567890123456789").toDouble(), 0.1234567890123456789);
    for (float f : {0.05f, 0.0013f, 2.573f, 1e-5f, 4.75f})
        EXPECT_EQ(Decimal::fromSingle(f).toSingle(), f) << f;
}

TEST(Decimal, OrdersByValueNotByScale)
{
    EXPECT_EQ(dec("1.50"), dec("1.5"));
    EXPECT_LT(dec("-2"), dec("-1.999"));
    EXPECT_GT(dec("0.0000001"), dec("0"));
}

TEST(Decimal, KeepsMagnitudeWithinNinetySixBits)
{
    // 2^96 - 1 fits; one more integer digit does not.
    const Decimal big = dec("79228162514264337593543950335");
    EXPECT_EQ(big.text(), "79228162514264337593543950335");
    EXPECT_THROW(big + dec("1"), std::overflow_error);
    // With digits after the point, a sum that overflows drops the last digit.
    const Decimal a = dec("7922816251426433759354395033.5");
    EXPECT_EQ((a + a).text(), "15845632502852867518708790067");
    EXPECT_FALSE(Decimal::parse("792281625142643375935439503350").has_value());
}
