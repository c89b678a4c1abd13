// SPDX-License-Identifier: GPL-3.0-or-later
// The program's number grammar, token by token: an optional "-", digits with
// at most one point, at least one digit; no "+", no exponent. What it reads
// and how it refuses the rest.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <string_view>

#include "program/reader/program_reader.h"
#include "program/reader/reading_error_text.h"

#include "tests/support/concatenated.h"

using namespace kerf;
using kerf::testing::concatenated;

namespace {

const std::string Zeros400(400, '0');

struct NumberCase {
    std::string token;
    std::optional<double> value;   // read as the X of an MI
    ProgramErrorKind kind{};       // else refused so
    std::string message;           // with these words
};

using K = ProgramErrorKind;

const NumberCase NumberCases[] = {
    {"0", 0.0, K{}, ""},
    {"5", 5.0, K{}, ""},
    {"-5", -5.0, K{}, ""},
    {".5", 0.5, K{}, ""},
    {"-.5", -0.5, K{}, ""},
    {"5.", 5.0, K{}, ""},
    {"-5.", -5.0, K{}, ""},
    {"00012.500", 12.5, K{}, ""},
    {"0000", 0.0, K{}, ""},
    {concatenated(Zeros400, "1"), 1.0, K{}, ""},
    {concatenated("1", std::string(38, '0')), 1e38, K{}, ""},
    {concatenated("1", std::string(39, '0')), 1e39, K{}, ""},
    {"79228162514264337593543950336", 79228162514264337593543950336.0, K{}, ""},
    {"0.1234567890123456789012345678901234567890", 0.12345678901234568, K{}, ""},
    {"0.00000000000000000000000000015", 1.5e-28, K{}, ""},
    {"+0", std::nullopt, K::BadNumber, "「+0」不是數值"},
    {"+5", std::nullopt, K::BadNumber, "「+5」不是數值"},
    {"+.5", std::nullopt, K::BadNumber, "「+.5」不是數值"},
    {".", std::nullopt, K::BadNumber, "「.」不是數值"},
    {"-.", std::nullopt, K::BadNumber, "「-.」不是數值"},
    {"+.", std::nullopt, K::BadNumber, "「+.」不是數值"},
    {"-", std::nullopt, K::BadNumber, "「-」不是數值"},
    {"+", std::nullopt, K::BadNumber, "「+」不是數值"},
    {"1.2.3", std::nullopt, K::BadNumber, "「1.2.3」不是數值"},
    {"..5", std::nullopt, K::BadNumber, "「..5」不是數值"},
    {"5..", std::nullopt, K::BadNumber, "「5..」不是數值"},
    {"1e3", std::nullopt, K::BadNumber, "「1e3」不是數值"},
    {"1E3", std::nullopt, K::BadNumber, "「1E3」不是數值"},
    {"1e-3", std::nullopt, K::BadNumber, "「1e-3」不是數值"},
    {"--1", std::nullopt, K::BadNumber, "「--1」不是數值"},
    {"+-1", std::nullopt, K::BadNumber, "「+-1」不是數值"},
    {"-+1", std::nullopt, K::BadNumber, "「-+1」不是數值"},
    {"0x10", std::nullopt, K::BadNumber, "「0x10」不是數值"},
    {"1,5", std::nullopt, K::BadNumber, "「1,5」不是數值"},
    {"3.4e38", std::nullopt, K::BadNumber, "「3.4e38」不是數值"},
    // A token that does not start like a number is no operand at all.
    {"inf", std::nullopt, K::BadOperands, "「X」之後應為數值，卻是「inf」"},
    {"nan", std::nullopt, K::BadOperands, "「X」之後應為數值，卻是「nan」"},
    {"\xC2\xA0" "1", std::nullopt, K::BadOperands, "「X」之後應為數值，卻是「\xC2\xA0" "1」"},
    // Beyond a double, either way.
    {concatenated("1", Zeros400), std::nullopt, K::BadNumber,
     "數值「1000000000000000000000000000000000000000……」超出範圍"},
    {concatenated("0.", Zeros400, "1"), std::nullopt, K::BadNumber,
     "數值「0.00000000000000000000000000000000000000……」超出範圍"},
    {concatenated("-0.", Zeros400, "1"), std::nullopt, K::BadNumber,
     "數值「-0.0000000000000000000000000000000000000……」超出範圍"},
};

} // namespace

TEST(ProgramNumbers, TokenByToken)
{
    for (const NumberCase& c : NumberCases) {
        const std::string_view shown = std::string_view(c.token).substr(0, 50);
        const auto read = readProgram(concatenated("PN M\nDI 1 1\nII\nMI X ", c.token, "\nEI\n"));
        if (c.value) {
            const auto* trace = std::get_if<ProgramTrace>(&read);
            ASSERT_NE(trace, nullptr) << shown << ": " << readingErrorText(std::get<ProgramError>(read));
            ASSERT_EQ(trace->motions.size(), 1u) << shown;
            EXPECT_EQ(trace->motions[0].to.x, *c.value) << shown;
        } else {
            const auto* error = std::get_if<ProgramError>(&read);
            ASSERT_NE(error, nullptr) << shown;
            EXPECT_EQ(error->kind, c.kind) << shown;
            EXPECT_EQ(readingErrorText(*error), "程式第 4 行無法讀取：" + c.message + "。") << shown;
        }
    }
}

TEST(ProgramNumbers, EveryOperandReadsTheSameGrammar)
{
    // WT, SP, ARC, VEL and ACC read their numbers as X and Y do.
    for (const char* line : {"WT +1", "SP DVL = +1", "MI X 1 Y 0 ARC +360", "MI X 1 Y 0 ARC -360 VEL +1",
                             "MI X 1 Y 0 ARC -360 ACC 1e1", "MI Y 1.2.3"}) {
        const auto read = readProgram(concatenated("PN M\nDI 1 1\nII\n", line, "\nEI\n"));
        const auto* error = std::get_if<ProgramError>(&read);
        ASSERT_NE(error, nullptr) << line;
        EXPECT_EQ(error->kind, K::BadNumber) << line;
    }
    const auto read = readProgram("PN M\nDI 1 1\nII\nSP DVL = 0.5\nWT 2.\nMI X -.5 Y 0. ARC -90 VEL 1. ACC .5\nEI\n");
    const auto* trace = std::get_if<ProgramTrace>(&read);
    ASSERT_NE(trace, nullptr);
    EXPECT_EQ(trace->summary.waitSeconds, 2.0);
    ASSERT_EQ(trace->motions.size(), 1u);
    EXPECT_EQ(trace->motions[0].sweepDegrees, -90.0);
}

TEST(ProgramNumbers, NegativeZeroIsANumber)
{
    const auto read = readProgram("PN M\nDI 1 1\nII\nMA X -0 Y -.0\nEI\n");
    const auto* trace = std::get_if<ProgramTrace>(&read);
    ASSERT_NE(trace, nullptr);
    EXPECT_TRUE(std::signbit(trace->motions.at(0).to.x));
    EXPECT_TRUE(std::signbit(trace->motions.at(0).to.y));
}
