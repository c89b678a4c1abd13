// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>

#include "numbers/number.h"
#include "numbers/number_text.h"

using namespace kerf;
using namespace std::chrono;

TEST(NumberText, WorkedExamplesOfTheProgramFile)
{
    EXPECT_EQ(integerText(12), "12");
    EXPECT_EQ(integerText(-3), "-3");
    EXPECT_EQ(singleText(0.05f), "0.05");
    EXPECT_EQ(singleText(0.0625f), "0.0625");
    EXPECT_EQ(singleText(1.0f), "1");
    EXPECT_EQ(doubleText(0.288675), "0.288675");
    EXPECT_EQ(Decimal::parse("0.051")->text(), "0.051");
    EXPECT_EQ(Decimal::parse("-0.088335")->text(), "-0.088335");
    EXPECT_EQ(Decimal::parse("2")->text(), "2");
    EXPECT_EQ(angleText(360), "-360.0");
    EXPECT_EQ(angleText(720), "-720.0");
    EXPECT_EQ(angleText(0), "-.0");
    EXPECT_EQ(lengthText(*Decimal::parse("0.1")), "0.1");
    EXPECT_EQ(lengthText(*Decimal::parse("1")), "1.0");
    EXPECT_EQ(lengthText(*Decimal::parse("0.1234567")), "0.123457");
    EXPECT_EQ(lengthText(*Decimal::parse("-0.25")), "-0.25");
    EXPECT_EQ(dateText(year(2004) / March / 5), "2004/03/05");
}

TEST(NumberText, SingleAndDoubleTextsArePlain)
{
    EXPECT_EQ(singleText(0.013f), "0.013");
    EXPECT_EQ(singleText(-0.039f), "-0.039");
    EXPECT_EQ(singleText(0.1f), "0.1");
    EXPECT_EQ(singleText(2.625f), "2.625");
    EXPECT_EQ(singleText(0.00009f), "0.00009");
    EXPECT_EQ(singleText(123456789.0f), "123456800");
    EXPECT_EQ(singleText(0.0f), "0");
    EXPECT_EQ(doubleText(2.0 * 0.95), "1.9");
    EXPECT_EQ(doubleText(2.5 * 0.95), "2.375");
    EXPECT_EQ(doubleText(3.0 * 0.95), "2.85");
    EXPECT_EQ(doubleText(-3 * 0.007506), "-0.022518");
    EXPECT_EQ(doubleText(1e-7), "0.0000001");
}

TEST(NumberText, LengthPatternRoundsHalvesAwayFromZero)
{
    EXPECT_EQ(lengthText(*Decimal::parse("2")), "2.0");
    EXPECT_EQ(lengthText(*Decimal::parse("0.0000005")), "0.000001");
    EXPECT_EQ(lengthText(*Decimal::parse("-0.0000005")), "-0.000001");
    EXPECT_EQ(lengthText(*Decimal::parse("0.25")), "0.25");
    EXPECT_EQ(lengthText(Decimal()), "0.0");
}

TEST(NumberText, UtilisationRoundsTiesToEven)
{
    EXPECT_EQ(utilisationText(78.125), "78.12");
    EXPECT_EQ(utilisationText(78.375), "78.38");
    EXPECT_EQ(utilisationText(78.5), "78.5");
    EXPECT_EQ(utilisationText(80.0), "80");
    EXPECT_EQ(utilisationText(0.0), "0");
    EXPECT_EQ(utilisationText(80.2619), "80.26");
}

TEST(NumberText, ReadsBoxTexts)
{
    EXPECT_EQ(parseSingle("50"), 50.0f);
    EXPECT_EQ(parseSingle(".5"), 0.5f);
    EXPECT_EQ(parseSingle("5."), 5.0f);
    EXPECT_EQ(parseSingle(" 1.9 "), 1.9f);
    EXPECT_EQ(parseDouble("-2"), -2.0);
    for (const char* bad : {"", ".", "1.2.3", "1e3", "abc", "-", "1,5", "inf", "nan"}) {
        EXPECT_FALSE(parseSingle(bad).has_value()) << bad;
        EXPECT_FALSE(parseDouble(bad).has_value()) << bad;
    }
    EXPECT_FALSE(parseSingle("1" + std::string(50, '0')).has_value());
}

TEST(NumberText, ReadsIntegersRoundingHalvesToEven)
{
    EXPECT_EQ(parseInteger16("2"), 2);
    EXPECT_EQ(parseInteger16("2.5"), 2);
    EXPECT_EQ(parseInteger16("3.5"), 4);
    EXPECT_EQ(parseInteger16("-1"), -1);
    EXPECT_EQ(parseInteger16("32767"), 32767);
    EXPECT_EQ(parseInteger16("-32768"), -32768);
    EXPECT_FALSE(parseInteger16("32768").has_value());
    EXPECT_FALSE(parseInteger16("x").has_value());
}

TEST(Number, KeepsItsKindAndWritesByIt)
{
    EXPECT_EQ(Number().text(), "");
    EXPECT_EQ(Number().kind(), Number::Kind::Empty);
    EXPECT_EQ(Number::ofInteger(-3).text(), "-3");
    EXPECT_EQ(Number::ofSingle(2.625f).text(), "2.625");
    EXPECT_EQ(Number::ofSingle(0.1f).kind(), Number::Kind::Single);
    EXPECT_EQ(Number::ofDouble(3 * 0.028868).text(), "0.086604");
    EXPECT_EQ(Number::ofDecimal(*Decimal::parse("-0.91")).text(), "-0.91");
    const Number copy = Number::ofDouble(0.5);
    Number assigned;
    assigned = copy;
    EXPECT_EQ(assigned.kind(), Number::Kind::Double);
}

TEST(Number, ConvertsToDecimalByTheConventions)
{
    EXPECT_EQ(Number().toDecimal().text(), "0");
    EXPECT_EQ(Number::ofSingle(0.1f).toDecimal().text(), "0.1");
    EXPECT_EQ(Number::ofDouble(0.1 + 0.2).toDecimal().text(), "0.3");
    EXPECT_EQ(Number::ofInteger(7).toDecimal().text(), "7");
    EXPECT_EQ(Number::ofDecimal(*Decimal::parse("0.052")).toDouble(), 0.052);
}
