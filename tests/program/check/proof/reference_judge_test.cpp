// SPDX-License-Identifier: GPL-3.0-or-later
// The check held to the reference judge: programs broken in the ways that
// once passed for clean, and mutated programs by the hundred.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <variant>

#include "program/check/cut_check.h"
#include "program/check/report/cut_report_figures.h"
#include "tests/program/check/proof/mutation_run.h"
#include "tests/program/check/proof/reference_judge.h"
#include "tests/support/design_helpers.h"
#include "tests/support/generated_programs.h"

using namespace kerf;
using kerf::testing::designedLayout;
using kerf::testing::judgeProgram;
using kerf::testing::programFor;

namespace {

/// `text` with its first `from` (whole lines, CR LF) put as `to`.
std::string edited(std::string text, const std::string& from, const std::string& to)
{
    std::string lines;
    for (std::size_t p = 0, q; p < to.size(); p = q + 1) {
        q = to.find('|', p);
        if (q == std::string::npos)
            q = to.size();
        lines += to.substr(p, q - p) + "\r\n";
    }
    const std::size_t at = text.find("\r\n" + from + "\r\n");
    if (at == std::string::npos) {
        ADD_FAILURE() << "no line " << from;
        return text;
    }
    return text.replace(at + 2, from.size() + 2, lines);
}

/// A program written for a layout, edited; checked with the pass count
/// given or inferred; what the check and the judge must find.
struct Example {
    const char* name;
    const char* wafer;
    const char* shape;
    const char* die;
    int passes;
    const char* from; // a line of the program, '|' between the lines put there
    const char* to;
    std::optional<int> given;
    std::int64_t uncut;
    bool stray, outside, uncertain;
};

const Example Examples[] = {
    // A column cut short at its top, laser off over a pitch, begun late.
    {"ColumnStoppedShort", "2.0 Inches", "Square", "500", 1, "MI Y 1.0", "MI Y 0.5|CS|MI Y 0.5|OS", {}, 1},
    {"ColumnStoppedShortGiven", "2.0 Inches", "Square", "500", 1, "MI Y 1.0", "MI Y 0.5|CS|MI Y 0.5|OS", 1, 1},
    {"ColumnGap", "2.0 Inches", "Square", "250", 1, "MI Y -1.5", "MI Y -0.5|CS|MI Y -0.25|OS|MI Y -0.75", {}, 2},
    {"ColumnBegunLate", "2.0 Inches", "Square", "250", 1, "MI Y 1.0", "CS|MI Y 0.25|OS|MI Y 0.75", {}, 1},
    {"ColumnShortFourPasses", "5.0 Inches", "Square", "200", 4, "MI Y -2.4", "MI Y -2.2|CS|MI Y -0.2|OS", {}, 1},
    // Tiny steps: across a row of dies, off the wafer, a staircase across dies.
    {"TinyStepsAcrossDies", "2.0 Inches", "Square", "500", 1, "OFF",
     "MA X -0.5 Y 0.25|OS|SL 100000|MI X 0.00001|EL|CS|OFF", {}, 0, true},
    {"TinyStepsOffTheWafer", "2.0 Inches", "Square", "500", 1, "OFF",
     "MA X 3.0 Y 0.25|OS|SL 100000|MI X 0.00001|EL|CS|OFF", {}, 0, true, true},
    {"TinyStaircase", "2.0 Inches", "Hexagon", "400", 1, "OFF",
     "MA X -0.3 Y -0.3|OS|SL 20000|MI X 0.00002|MI Y 0.00002|EL|CS|OFF", {}, 0, true},
    {"TinyStepsAcrossARoundDie", "2.0 Inches", "Circle", "400", 1, "OFF",
     "MA X -0.3 Y 0.0|OS|SL 20000|MI X 0.00003|EL|CS|OFF", {}, 0, true},
    // Tiny steps along edges cut them.
    {"TinyStepsAlongAColumn", "2.0 Inches", "Square", "500", 1, "MI Y 1.0", "SL 25000|MI Y 0.00004|EL", {}, 0},
    {"TinyStepsAlongHexagonEdges", "2.0 Inches", "Hexagon", "400", 1, "MI X 0.2 Y 0.11547",
     "SL 5000|MI X 0.00002 Y 0.000011547|MI X 0.00002 Y 0.000011547|EL", {}, 0},
    // Two MA with the laser on.
    {"TwoMovesWithTheLaserOn", "2.0 Inches", "Square", "500", 3, "MA X 0.0 MA Y 0.0", "OS|MA X 0.0 MA Y 0.0|CS", {},
     0, false, false, true},
};

class FaultExample : public ::testing::TestWithParam<Example> {};

TEST_P(FaultExample, CheckAndJudgeAgree)
{
    const Example& e = GetParam();
    const WaferLayout layout = designedLayout(e.wafer, e.shape, e.die);
    const std::string text = edited(programFor(layout, e.passes), e.from, e.to);
    const kerf::testing::JudgeVerdict verdict = judgeProgram(text, layout, e.given);
    ASSERT_TRUE(verdict.judged);
    const std::int64_t uncut = e.uncut;
    EXPECT_EQ(verdict.uncutDies, uncut);
    EXPECT_EQ(verdict.stray, e.stray);
    EXPECT_EQ(verdict.outside, e.outside);
    EXPECT_EQ(verdict.uncertain, e.uncertain);
    for (const bool literal : {false, true}) {
        CutCheckOptions options;
        options.passes = e.given;
        options.literal = literal;
        const auto result = checkProgramText(text, layout, options);
        ASSERT_TRUE(std::holds_alternative<CutReport>(result));
        const CutReport& report = std::get<CutReport>(result);
        ASSERT_EQ(report.unchecked, Unchecked::No);
        EXPECT_EQ(report.uncutDies, uncut) << "literal " << literal;
        EXPECT_EQ(report.strayCuts > 0, e.stray) << "literal " << literal;
        EXPECT_EQ(report.outsideCuts > 0, e.outside) << "literal " << literal;
        EXPECT_EQ(report.clean(), verdict.clean()) << "literal " << literal;
        EXPECT_EQ(report.uncertainPaths, e.uncertain ? 3 : 0) << "literal " << literal; // once a pass
    }
}

INSTANTIATE_TEST_SUITE_P(Proof, FaultExample, ::testing::ValuesIn(Examples),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Proof, UncertainPathIsNamedAtItsLine)
{
    const WaferLayout layout = designedLayout("2.0 Inches", "Square", "500");
    const std::string text = edited(programFor(layout, 3), "MA X 0.0 MA Y 0.0", "OS|MA X 0.0 MA Y 0.0|CS");
    const CutReport report = std::get<CutReport>(checkProgramText(text, layout));
    ASSERT_FALSE(report.uncertain.empty());
    const ReportText words = describeReport(report);
    EXPECT_NE(words.verdict.find("雷射開啟時的兩段 MA：路徑不確定"), std::string::npos) << words.verdict;
    const std::string line = "程式第 " + std::to_string(report.uncertain[0].line) + " 行：雷射開啟時的兩段 MA：路徑不確定";
    bool named = false;
    for (const std::string& detail : words.details)
        named |= detail.starts_with(line);
    EXPECT_TRUE(named);
}

TEST(Proof, WrittenProgramsAreJudgedClean)
{
    for (const char* shape : {"Square", "Hexagon", "Circle"})
        for (int passes = 1; passes <= 4; ++passes) {
            const WaferLayout layout = designedLayout("2.0 Inches", shape, "300", "2");
            const std::string text = programFor(layout, passes);
            // A hexagon program cuts each row once, or there and back.
            const int cuts = layout.shape == DieShape::Hexagon ? 2 - passes % 2 : passes;
            EXPECT_TRUE(judgeProgram(text, layout, cuts).clean()) << shape << ' ' << passes;
            const kerf::testing::JudgeVerdict inferred = judgeProgram(text, layout, {});
            EXPECT_TRUE(inferred.clean()) << shape << ' ' << passes;
            EXPECT_EQ(inferred.passes, cuts) << shape;
        }
}

TEST(Proof, NoFalseCleanAmongMutatedPrograms)
{
    const kerf::testing::MutationTally tally = kerf::testing::runMutations(200, 25);
    EXPECT_EQ(tally.falseCleans, 0u) << (tally.examples.empty() ? "" : tally.examples.front());
    // The run must look at programs of both verdicts.
    EXPECT_GT(tally.checks, 300u);
    EXPECT_GT(tally.clean, 0u);
    EXPECT_LT(tally.clean, tally.checks);
}

} // namespace
