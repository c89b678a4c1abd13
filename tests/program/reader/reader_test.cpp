// SPDX-License-Identifier: GPL-3.0-or-later
// The program reader over hand-written fragments: each word, repeats, calls,
// arcs, and every refusal at its line.
#include <gtest/gtest.h>

#include <clocale>
#include <locale>
#include <cmath>
#include <random>
#include <string>

#include "program/reader/program_reader.h"
#include "program/reader/reading_error_text.h"

using namespace kerf;

namespace {

/// A main unit around `lines`: its first body line is line 4.
std::string mainUnit(const std::string& lines)
{
    return "PN MAIN\r\nDI 1 10000\r\nII\r\n" + lines + "EI\r\n";
}

ProgramTrace traceOf(const std::string& text)
{
    auto read = readProgram(text);
    if (auto* error = std::get_if<ProgramError>(&read)) {
        ADD_FAILURE() << readingErrorText(*error);
        return {};
    }
    return std::get<ProgramTrace>(std::move(read));
}

ProgramError errorOf(const std::string& text)
{
    auto read = readProgram(text);
    if (std::get_if<ProgramTrace>(&read)) {
        ADD_FAILURE() << "read without error:\n" << text;
        return {};
    }
    return std::get<ProgramError>(read);
}

constexpr double Tolerance = 1e-12;

} // namespace

TEST(ProgramReader, WordsThatDoNotMoveReadAsNothing)
{
    const auto trace = traceOf(mainUnit("# 2004/03/05\r\n# Wafer size = 4.0 Inches\r\nSP DVL = 0.6\r\n"
                                        "SP DAC = 6.0\r\nSP TIM = 0.0\r\nLASON\r\nWT 1.0\r\nVACON\r\nVENTON\r\n"
                                        "O1ON\r\nLSO\r\nZERO\r\n# MAIN PROGRAM\r\nWT 0.1\r\n"));
    EXPECT_TRUE(trace.motions.empty());
    EXPECT_TRUE(trace.summary.final.laserOn);
    EXPECT_FALSE(trace.summary.final.cutting);
    EXPECT_NEAR(trace.summary.waitSeconds, 1.1, Tolerance);
    EXPECT_EQ(trace.summary.zeroShifts, 0u); // ZERO at the origin
}

TEST(ProgramReader, AZeroOffTheZeroMovesItForLaterAbsoluteMoves)
{
    const auto trace = traceOf(mainUnit("MA X 1 Y 2\nZERO\nMA X 0.5\nMI Y 1\nZERO\nZERO\nMA X -1 Y 0\nZERO\n"));
    ASSERT_EQ(trace.motions.size(), 4u);
    const ProgramPoint expected[] = {{1, 2}, {1.5, 2}, {1.5, 3}, {0.5, 3}};
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(trace.motions[i].to, expected[i]) << i;
    EXPECT_EQ(trace.summary.final.zero, (ProgramPoint{0.5, 3}));
    EXPECT_EQ(trace.summary.zeroShifts, 3u); // the second of two in a row stands on the zero
    EXPECT_EQ(trace.summary.zeroShiftLines, (std::vector<std::uint32_t>{5, 8, 11}));
}

TEST(ProgramReader, TrailerReturnsToTheOriginAndSwitchesOff)
{
    const auto trace = traceOf(mainUnit("LASON\r\nMA X 1.5 Y -0.25\r\nMA X 0.0 Y 0.0\r\nOFF\r\nDP TIM\r\n"));
    ASSERT_EQ(trace.motions.size(), 2u);
    EXPECT_EQ(trace.motions[0].to, (ProgramPoint{1.5, -0.25}));
    EXPECT_EQ(trace.motions[0].line, 5u);
    EXPECT_EQ(trace.summary.final.head, (ProgramPoint{0, 0}));
    EXPECT_FALSE(trace.summary.final.laserOn);
}

TEST(ProgramReader, AbsoluteAndRelativeMovesInOneOrBothAxes)
{
    const auto trace = traceOf(mainUnit("MA X 1 Y 2\nMI X 0.5\nMI Y -0.25\nMI X -1 Y 1\nMA Y 0.0\nMA X -.5\n"));
    ASSERT_EQ(trace.motions.size(), 6u);
    const ProgramPoint expected[] = {{1, 2}, {1.5, 2}, {1.5, 1.75}, {0.5, 2.75}, {0.5, 0}, {-0.5, 0}};
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(trace.motions[i].to, expected[i]) << i;
        EXPECT_EQ(trace.motions[i].line, 4 + i);
        EXPECT_EQ(trace.motions[i].kind, MotionKind::Straight);
        EXPECT_FALSE(trace.motions[i].cutting);
    }
    EXPECT_EQ(trace.motions[1].from, (ProgramPoint{1, 2}));
    EXPECT_NEAR(trace.summary.travelLength, std::sqrt(5.0) + 0.5 + 0.25 + std::sqrt(2.0) + 2.75 + 1, 1e-12);
}

TEST(ProgramReader, TwoAbsoluteWordsOnOneLineAreTwoMotions)
{
    const auto trace = traceOf(mainUnit("MA X 1 Y 1\nMA X 0.0 MA Y 0.0\n"));
    ASSERT_EQ(trace.motions.size(), 3u);
    // Numbered as moves of a line of several; the only move of its line is 0.
    EXPECT_EQ(trace.motions[0].clause, 0);
    EXPECT_EQ(trace.motions[1].clause, 1);
    EXPECT_EQ(trace.motions[2].clause, 2);
    EXPECT_EQ(trace.motions[1].to, (ProgramPoint{0, 1}));
    EXPECT_EQ(trace.motions[2].to, (ProgramPoint{0, 0}));
    EXPECT_EQ(trace.motions[1].line, 5u);
    EXPECT_EQ(trace.motions[2].line, 5u);
}

TEST(ProgramReader, OpenAndCloseMarkTheCuts)
{
    const auto trace = traceOf(mainUnit("MI X 1\nOS\nMI X 1\nMI Y 1\nCS\nMI X 1\nOS\nOS\nMI Y -1\nCS\n"));
    ASSERT_EQ(trace.motions.size(), 5u);
    const bool cutting[] = {false, true, true, false, true};
    for (std::size_t i = 0; i < 5; ++i)
        EXPECT_EQ(trace.motions[i].cutting, cutting[i]) << i;
    EXPECT_EQ(trace.summary.cuts, 2u); // a second OS opens no new cut
    EXPECT_EQ(trace.summary.cuttingMotions, 3u);
    EXPECT_NEAR(trace.summary.cutLength, 3, Tolerance);
    EXPECT_NEAR(trace.summary.travelLength, 2, Tolerance);
    EXPECT_FALSE(trace.summary.final.cutting);
}

TEST(ProgramReader, OffClosesAnOpenCut)
{
    const auto trace = traceOf(mainUnit("LASON\nOS\nOFF\n"));
    EXPECT_FALSE(trace.summary.final.cutting);
    EXPECT_FALSE(trace.summary.final.laserOn);
}

TEST(ProgramReader, NestedRepeatsMultiply)
{
    const auto trace = traceOf(mainUnit("SL 2\nSL 3\nMI X 1\nEL\nMI Y 1\nEL\nSL 1\nMI X -6\nEL\n"));
    ASSERT_EQ(trace.motions.size(), 9u);
    EXPECT_EQ(trace.summary.final.head, (ProgramPoint{0, 2}));
    EXPECT_EQ(trace.motions[3].line, 8u);
    EXPECT_EQ(trace.motions[4].line, 6u);
}

TEST(ProgramReader, CountsTheExpansionBeforeRunning)
{
    auto parsed = parseProgram(mainUnit("SL 1000\nSL 1000\nMI X 1\nMI X -1\nEL\nEL\n"));
    ASSERT_TRUE(std::holds_alternative<Program>(parsed));
    const Program& program = std::get<Program>(parsed);
    EXPECT_EQ(program.expandedMotions(), 2'000'000u);
    // Return, SL, 1000 × (SL, 1000 × (2 moves, EL), EL).
    EXPECT_EQ(program.expandedSteps(), 1u + 1u + 1000u * (1u + 1000u * 3u + 1u));
    std::uint64_t seen = 0;
    const RunSummary summary = runProgram(program, [&seen](const Motion&) { ++seen; });
    EXPECT_EQ(seen, 2'000'000u);
    EXPECT_EQ(summary.motions, 2'000'000u);
}

TEST(ProgramReader, UnitsAreCalledByNameAndTheLastUnitRuns)
{
    const std::string text = "PN STEP\r\nDI 1 10000\r\nII\r\nOS\r\nMI X 0.25\r\nCS\r\nTWICE\r\nEI\r\n\r\n"
                             "PN TWICE\r\nDI 1 10000\r\nII\r\nMI Y 1\r\nMI Y -1\r\nEI\r\n\r\n"
                             "PN MY JOB\r\nDI 1 10000\r\nII\r\nSL 3\r\nSTEP\r\nEL\r\nTWICE\r\nEI\r\n";
    auto parsed = parseProgram(text);
    ASSERT_TRUE(std::holds_alternative<Program>(parsed)) << readingErrorText(std::get<ProgramError>(parsed));
    const Program& program = std::get<Program>(parsed);
    ASSERT_EQ(program.units().size(), 3u);
    EXPECT_EQ(program.units()[2].name, "MY JOB");
    EXPECT_EQ(program.units()[2].firstLine, 17u);
    EXPECT_EQ(program.units()[2].lastLine, 24u);
    EXPECT_EQ(program.entryUnit(), 2u);

    const auto trace = traceOf(text);
    ASSERT_EQ(trace.motions.size(), 3u * 3u + 2u);
    EXPECT_EQ(trace.motions[0].line, 5u);
    EXPECT_TRUE(trace.motions[0].cutting);
    EXPECT_EQ(trace.motions[1].line, 13u);
    EXPECT_FALSE(trace.motions[1].cutting);
    EXPECT_NEAR(trace.summary.final.head.x, 0.75, Tolerance);
    EXPECT_EQ(trace.summary.cuts, 3u);
}

TEST(ProgramReader, CircleArcIsAFullTurnAboutTheOffset)
{
    const auto trace = traceOf(mainUnit("MA X -0.91 Y 0\nOS\nMI X 0.05 Y 0.0 ARC -360.0 VEL 0.6 ACC 6.0\nCS\n"
                                        "OS\nMI X 0.05 Y 0.0 ARC -720.0 VEL 0.6 ACC 6.0\nCS\n"));
    ASSERT_EQ(trace.motions.size(), 3u);
    for (std::size_t i : {1u, 2u}) {
        const Motion& arc = trace.motions[i];
        EXPECT_EQ(arc.kind, MotionKind::Arc);
        EXPECT_TRUE(arc.cutting);
        EXPECT_EQ(arc.from, (ProgramPoint{-0.91, 0}));
        EXPECT_EQ(arc.to, arc.from); // whole turns end where they began
        EXPECT_NEAR(arc.centre.x, -0.86, Tolerance);
        EXPECT_EQ(arc.centre.y, 0);
        EXPECT_NEAR(arc.radius(), 0.05, Tolerance);
    }
    EXPECT_EQ(trace.motions[1].sweepDegrees, -360);
    EXPECT_EQ(trace.motions[2].sweepDegrees, -720);
    EXPECT_NEAR(trace.summary.cutLength, 3 * 2 * M_PI * 0.05, 1e-12);
}

TEST(ProgramReader, PartialArcsTurnCounterclockwiseForPositiveAngles)
{
    const auto trace = traceOf(mainUnit("MI X 1 Y 0 ARC 90\nMI X 0 Y 1 ARC -90 VEL 1\nMI X 1 Y 0 ARC -.0 ACC 2\n"));
    ASSERT_EQ(trace.motions.size(), 3u);
    // From the origin about (1, 0): a quarter turn counterclockwise ends below.
    EXPECT_NEAR(trace.motions[0].to.x, 1, Tolerance);
    EXPECT_NEAR(trace.motions[0].to.y, -1, Tolerance);
    // From (1, -1) about (1, 0): a quarter turn clockwise ends at (0, 0).
    EXPECT_NEAR(trace.motions[1].to.x, 0, Tolerance);
    EXPECT_NEAR(trace.motions[1].to.y, 0, Tolerance);
    EXPECT_NEAR(trace.motions[1].length(), M_PI / 2, Tolerance);
    // A sweep of zero (the angle text of no passes) stays put.
    EXPECT_EQ(trace.motions[2].to, trace.motions[2].from);
    EXPECT_EQ(trace.motions[2].length(), 0);
}

TEST(ProgramReader, LfLinesAndAMissingLastLineEndReadTheSame)
{
    const auto crlf = traceOf("PN A\r\nDI 1 10000\r\nII\r\nMI X 1\r\nEI\r\n");
    const auto lf = traceOf("PN A\nDI 1 10000\nII\nMI X 1\nEI");
    ASSERT_EQ(crlf.motions.size(), 1u);
    ASSERT_EQ(lf.motions.size(), 1u);
    EXPECT_EQ(crlf.motions[0].to, lf.motions[0].to);
    EXPECT_EQ(lf.motions[0].line, 4u);
}

TEST(ProgramReader, LaterPassesThatStartWhereTheFirstDidRetraceIt)
{
    // The square program's form: every pass returns to the origin.
    const auto passes = traceOf(mainUnit("SL 3\nMA X 1 Y 1\nOS\nMI X 1\nCS\nMA X 0.0 MA Y 0.0\nEL\n"));
    ASSERT_EQ(passes.motions.size(), 12u);
    for (std::size_t i = 0; i < 12; ++i)
        EXPECT_EQ(passes.motions[i].retrace, i >= 4) << i;
    // A row of dies moves on each pass: nothing is retraced.
    const auto row = traceOf(mainUnit("SL 3\nOS\nMI X 1\nCS\nEL\n"));
    for (const Motion& m : row.motions)
        EXPECT_FALSE(m.retrace);
}

TEST(ProgramReader, AVisitorCanStopTheRun)
{
    auto parsed = parseProgram(mainUnit("SL 1000\nMI X 1\nEL\n"));
    ASSERT_TRUE(std::holds_alternative<Program>(parsed));
    int seen = 0;
    const RunSummary summary = runProgram(std::get<Program>(parsed), [&seen](const Motion&) { return ++seen < 10; });
    EXPECT_EQ(seen, 10);
    EXPECT_TRUE(summary.stopped);
    EXPECT_EQ(summary.final.head.x, 10);
}

namespace {
struct CommaPoint : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
};
} // namespace

TEST(ProgramReader, NumbersDoNotDependOnTheLocale)
{
    // A global locale with a decimal comma, and the C library's too where the
    // machine has one.
    const std::locale saved = std::locale::global(std::locale(std::locale::classic(), new CommaPoint));
    const std::string savedC = std::setlocale(LC_NUMERIC, nullptr);
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8"))
        std::setlocale(LC_NUMERIC, "fr_FR.UTF-8");
    const auto trace = traceOf(mainUnit("MI X 0.125 Y -2.5\n"));
    const bool commaRefused = std::holds_alternative<ProgramError>(readProgram(mainUnit("MI X 0,125\n")));
    std::setlocale(LC_NUMERIC, savedC.c_str());
    std::locale::global(saved);
    ASSERT_EQ(trace.motions.size(), 1u);
    EXPECT_EQ(trace.motions[0].to, (ProgramPoint{0.125, -2.5}));
    EXPECT_TRUE(commaRefused);
}

TEST(ProgramReader, ErrorTextNamesTheLine)
{
    const ProgramError error = errorOf(mainUnit("FOO 1\n"));
    EXPECT_EQ(readingErrorText(error), "程式第 4 行無法讀取：無法辨識的指令「FOO」。");
}

TEST(ProgramReader, MessagesShowBig5WordsDecodedAndOddBytesAsQuestionMarks)
{
    const ProgramError error = errorOf(mainUnit("\xB4\xB9\xA4\xF9\x01\n"));
    EXPECT_EQ(readingErrorText(error), "程式第 4 行無法讀取：呼叫了不存在的程式單元「晶片?」。");
}

// Refusals: each text and the line and kind it is refused at.
struct RefusalCase {
    const char* name;
    std::string text;
    std::uint32_t line;
    ProgramErrorKind kind;
};

void PrintTo(const RefusalCase& c, std::ostream* out) { *out << c.name; }

class ProgramRefusal : public testing::TestWithParam<RefusalCase> {};

TEST_P(ProgramRefusal, AtItsLine)
{
    const RefusalCase& c = GetParam();
    const ProgramError error = errorOf(c.text);
    EXPECT_EQ(error.line, c.line) << readingErrorText(error);
    EXPECT_EQ(error.kind, c.kind) << readingErrorText(error);
}

namespace {
using K = ProgramErrorKind;
const std::string RecursiveCalls = "PN A\nDI 1 10000\nII\nB\nEI\nPN B\nDI 1 10000\nII\nMI X 1\nA\nEI\nPN MAIN\nDI 1 10000\nII\nA\nEI\n";
const std::string SelfCall = "PN A\nDI 1 10000\nII\nMI X 1\nA\nEI\nPN MAIN\nDI 1 10000\nII\nEI\n";
const std::string UnitTwice = "PN A\nDI 1 10000\nII\nEI\n\nPN A\nDI 1 10000\nII\nEI\n";
const std::string BigRepeats = mainUnit("SL 4294967295\nSL 4294967295\nWT 0.1\nEL\nEL\n");
} // namespace

INSTANTIATE_TEST_SUITE_P(
    Reader, ProgramRefusal,
    testing::Values(
        RefusalCase{"EmptyText", "", 1, K::Empty},
        RefusalCase{"OnlyBlankLines", "\r\n\r\n", 2, K::Empty},
        RefusalCase{"WordBeforeAnyUnit", "OS\r\n", 1, K::OutsideUnit},
        RefusalCase{"CommentOutsideUnits", mainUnit("") + "# after\n", 5, K::OutsideUnit},
        RefusalCase{"ByteOrderMark", "\xEF\xBB\xBFPN A\nDI 1 10000\nII\nEI\n", 1, K::OutsideUnit},
        RefusalCase{"NoDI", "PN A\nII\nEI\n", 2, K::Preamble},
        RefusalCase{"DIWithoutNumbers", "PN A\nDI 1 X\nII\nEI\n", 2, K::Preamble},
        RefusalCase{"NoII", "PN A\nDI 1 10000\nOS\nEI\n", 3, K::Preamble},
        RefusalCase{"DIInTheBody", mainUnit("DI 1 10000\n"), 4, K::Preamble},
        RefusalCase{"PNWithoutName", "PN\nDI 1 10000\nII\nEI\n", 1, K::BadOperands},
        RefusalCase{"PNWithoutEI", "PN A\nDI 1 10000\nII\nOS\n", 1, K::UnitNotClosed},
        RefusalCase{"PNWithoutPreambleAtEnd", "PN A\n", 1, K::UnitNotClosed},
        RefusalCase{"PNInsideAUnit", "PN A\nDI 1 10000\nII\nOS\nPN B\nDI 1 10000\nII\nEI\n", 5, K::UnitNotClosed},
        RefusalCase{"EIWithoutPN", mainUnit("") + "EI\n", 5, K::EIWithoutPN},
        RefusalCase{"EIWithOperand", "PN A\nDI 1 10000\nII\nEI X\n", 4, K::BadOperands},
        RefusalCase{"UnitNamedTwice", UnitTwice, 6, K::DuplicateUnit},
        RefusalCase{"UnknownWord", mainUnit("OS\nMOVE X 1\n"), 5, K::UnknownWord},
        RefusalCase{"LowerCaseWord", mainUnit("ma X 1\n"), 4, K::UnknownWord},
        RefusalCase{"CallOfAMissingUnit", mainUnit("SL 2\nCIR3\nEL\n"), 5, K::UnknownUnit},
        // A call waits for the units further on; the first fault in line order stands.
        RefusalCase{"MissingCallBeforeALaterFault", mainUnit("CIR3\nMOVE X 1\n"), 4, K::UnknownUnit},
        RefusalCase{"MissingCallOfTwoWordsAtTheEnd", mainUnit("CIR 3\n"), 4, K::UnknownWord},
        RefusalCase{"CallOfALaterUnitBeforeAFault", "PN MAIN\nDI 1 10000\nII\nA B\nMOVE\nEI\nPN A B\nDI 1 10000\nII\nEI\n",
                    5, K::UnknownUnit},
        RefusalCase{"MissingCallBeforeTheEIOfAnOpenRepeat", mainUnit("SL 2\nCIR3\n"), 5, K::UnknownUnit},
        RefusalCase{"MissingCallBeforeAnOpenUnit", "PN A\nDI 1 10000\nII\nB\n", 4, K::UnknownUnit},
        RefusalCase{"CallOfALaterUnitThatRecurses", "PN A\nDI 1 10000\nII\nB\nEI\nPN B\nDI 1 10000\nII\nA\nEI\n", 9,
                    K::Recursion},
        RefusalCase{"MoveWithoutAxis", mainUnit("MA\n"), 4, K::BadOperands},
        RefusalCase{"MoveWithUnknownAxis", mainUnit("MA Z 1\n"), 4, K::BadOperands},
        RefusalCase{"MoveWithoutNumber", mainUnit("MA X\n"), 4, K::BadOperands},
        RefusalCase{"MoveWithEmptyNumbers", mainUnit("MA X  Y \n"), 4, K::BadOperands},
        RefusalCase{"AxisTwice", mainUnit("MI X 1 X 2\n"), 4, K::BadOperands},
        RefusalCase{"TwoPoints", mainUnit("MI X 1.2.3\n"), 4, K::BadNumber},
        RefusalCase{"Exponent", mainUnit("MI X 1e3\n"), 4, K::BadNumber},
        RefusalCase{"PlusSign", mainUnit("MI X +1\n"), 4, K::BadNumber},
        RefusalCase{"DecimalComma", mainUnit("MI Y 0,5\n"), 4, K::BadNumber},
        RefusalCase{"LonePoint", mainUnit("MI Y .\n"), 4, K::BadNumber},
        RefusalCase{"LoneMinus", mainUnit("MI Y -\n"), 4, K::BadNumber},
        RefusalCase{"HugeNumber", mainUnit("MI Y 1" + std::string(400, '0') + "\n"), 4, K::BadNumber},
        RefusalCase{"ArcWithAbsoluteMove", mainUnit("MA X 1 Y 0 ARC -360.0\n"), 4, K::BadOperands},
        RefusalCase{"ArcWithoutAngle", mainUnit("MI X 1 Y 0.0 ARC\n"), 4, K::BadOperands},
        RefusalCase{"ArcWithBadAngle", mainUnit("MI X 1 Y 0.0 ARC --360.0 VEL 1 ACC 1\n"), 4, K::BadNumber},
        RefusalCase{"ArcWithEmptySpeed", mainUnit("MI X 1 Y 0.0 ARC -360.0 VEL  ACC 6.0\n"), 4, K::BadOperands},
        RefusalCase{"ArcWithTextSpeed", mainUnit("MI X 1 Y 0.0 ARC -360.0 VEL fast ACC 6.0\n"), 4,
                    K::BadOperands},
        RefusalCase{"ArcThenMore", mainUnit("MI X 1 Y 0.0 ARC -360.0 VEL 1 ACC 1 MI X 1\n"), 4, K::BadOperands},
        RefusalCase{"OpenWithOperand", mainUnit("OS 1\n"), 4, K::BadOperands},
        RefusalCase{"QuietWordWithOperand", mainUnit("ZERO X\n"), 4, K::BadOperands},
        RefusalCase{"WaitWithoutNumber", mainUnit("WT\n"), 4, K::BadOperands},
        RefusalCase{"NegativeWait", mainUnit("WT -0.1\n"), 4, K::BadNumber},
        RefusalCase{"SetWithoutEquals", mainUnit("SP DVL 0.6\n"), 4, K::BadOperands},
        RefusalCase{"SetWithText", mainUnit("SP DVL = abc\n"), 4, K::BadOperands},
        RefusalCase{"SetWithBadNumber", mainUnit("SP DAC = 6..0\n"), 4, K::BadNumber},
        RefusalCase{"DPAlone", mainUnit("DP\n"), 4, K::BadOperands},
        RefusalCase{"RepeatWithoutCount", mainUnit("SL\nEL\n"), 4, K::BadOperands},
        RefusalCase{"RepeatOfZero", mainUnit("SL 0\nEL\n"), 4, K::BadNumber},
        RefusalCase{"RepeatOfHalf", mainUnit("SL 2.5\nEL\n"), 4, K::BadNumber},
        RefusalCase{"NegativeRepeat", mainUnit("SL -3\nEL\n"), 4, K::BadNumber},
        RefusalCase{"RepeatTooLarge", mainUnit("SL 99999999999\nEL\n"), 4, K::BadNumber},
        RefusalCase{"ELWithoutSL", mainUnit("OS\nEL\n"), 5, K::ELWithoutSL},
        RefusalCase{"SLClosedByEI", "PN A\nDI 1 10000\nII\nSL 2\nEI\n", 4, K::SLWithoutEL},
        RefusalCase{"SLWithoutEL", mainUnit("SL 3\nMI X 1\nSL 2\nMI Y 1\nEL\nMI X 2\n"), 4, K::SLWithoutEL},
        RefusalCase{"Recursion", RecursiveCalls, 10, K::Recursion},
        RefusalCase{"SelfCall", SelfCall, 5, K::Recursion}),
    [](const testing::TestParamInfo<RefusalCase>& info) { return std::string(info.param.name); });

// A program too large to run motion by motion is still a program: its literal
// run says it is beyond the bounds and runs nothing.
TEST(ProgramReader, AProgramTooLargeToRunIsReadAndItsRunSaysSo)
{
    auto parsed = parseProgram(BigRepeats);
    ASSERT_TRUE(std::holds_alternative<Program>(parsed));
    const RunSummary summary = runProgram(std::get<Program>(parsed), [](const Motion&) {});
    EXPECT_TRUE(summary.beyondBounds);
    EXPECT_EQ(summary.motions, 0u);
}

TEST(ProgramReader, MangledProgramsAreRefusedOrReadNeverCrash)
{
    const std::string good =
        "PN HEX1\r\nDI 1 10000\r\nII\r\n# 2004/03/05\r\nMI Y 0.015012\r\nMI X 0.013 Y 0.007506\r\n"
        "MI X 0.013 Y -0.007506\r\nMI Y -0.015012\r\nEI\r\n\r\nPN JOB\r\nDI 1 10000\r\nII\r\nLASON\r\n"
        "MA X -0.85 Y -0.028868\r\n# Row 1\r\nOS\r\nSL 17\r\nHEX1\r\nEL\r\nCS\r\nWT 0.1\r\n"
        "MI X 0.05 Y 0.0 ARC -360.0 VEL 0.6 ACC 6.0\r\nMA X 0.0 MA Y 0.0\r\nOFF\r\nDP TIM\r\nEI\r\n";
    ASSERT_TRUE(std::holds_alternative<ProgramTrace>(readProgram(good)));
    std::mt19937 random(12345);
    const std::string alphabet = "PNDIEOSCLMAXYRV0123456789.- #\r\n\t\x80";
    int refused = 0;
    for (int round = 0; round < 3000; ++round) {
        std::string text = good;
        const int edits = 1 + static_cast<int>(random() % 4);
        for (int e = 0; e < edits; ++e) {
            const std::size_t at = random() % text.size();
            switch (random() % 3) {
            case 0:
                text.erase(at, 1 + random() % 8);
                break;
            case 1:
                text.insert(text.begin() + static_cast<std::ptrdiff_t>(at), alphabet[random() % alphabet.size()]);
                break;
            default:
                text[at] = alphabet[random() % alphabet.size()];
                break;
            }
            if (text.empty())
                text.push_back('X');
        }
        auto read = readProgram(text, ReadLimits{1'000'000});
        if (auto* error = std::get_if<ProgramError>(&read)) {
            ++refused;
            EXPECT_GE(error->line, 1u);
            EXPECT_FALSE(readingErrorText(*error, text).empty());
        }
    }
    EXPECT_GT(refused, 1000);
}

TEST(ProgramReader, AnEmptyProgramRunsNothing)
{
    const Program none;
    const RunSummary summary = runProgram(none, [](const Motion&) { ADD_FAILURE(); });
    EXPECT_EQ(summary.motions, 0u);
    EXPECT_EQ(summary.final.head, (ProgramPoint{0, 0}));
}
