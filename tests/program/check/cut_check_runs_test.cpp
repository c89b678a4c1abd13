// SPDX-License-Identifier: GPL-3.0-or-later
// The check by runs of equal motions against the check motion by motion:
// the same report, field by field, on generated programs of every shape and
// on programs broken on purpose; and programs beyond the bounds.
#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <string>
#include <vector>

#include "program/check/cut_check.h"
#include "program/writer/generation_driver.h"
#include "tests/support/design_helpers.h"
#include "tests/support/generated_programs.h"
#include "tests/support/program_mutants.h"
#include "tests/support/program_text.h"

using namespace kerf;
using kerf::testing::brokenVersions;
using kerf::testing::designed;
using kerf::testing::joined;
using kerf::testing::programLines;
using kerf::testing::programFor;

namespace {

void expectNear(double a, double b, const std::string& what)
{
    if (std::isinf(a) || std::isinf(b))
        EXPECT_EQ(a, b) << what;
    else
        EXPECT_NEAR(a, b, 1e-9 * (1 + std::abs(a))) << what;
}

void expectSameCuts(const std::vector<FlaggedCut>& a, const std::vector<FlaggedCut>& b, const std::string& what)
{
    ASSERT_EQ(a.size(), b.size()) << what;
    for (std::size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].line, b[i].line) << what << " #" << i;
        expectNear(a[i].from.x, b[i].from.x, what);
        expectNear(a[i].from.y, b[i].from.y, what);
        expectNear(a[i].to.x, b[i].to.x, what);
        expectNear(a[i].to.y, b[i].to.y, what);
    }
}

/// Every field of two reports.
void expectSameReport(const CutReport& runs, const CutReport& literal, const std::string& what)
{
    EXPECT_EQ(runs.unchecked, literal.unchecked) << what;
    EXPECT_EQ(runs.passes, literal.passes) << what;
    EXPECT_EQ(runs.passSource, literal.passSource) << what;
    EXPECT_EQ(runs.motions, literal.motions) << what;
    EXPECT_EQ(runs.cuttingMotions, literal.cuttingMotions) << what;
    EXPECT_EQ(runs.cuts, literal.cuts) << what;
    expectNear(runs.cutLength, literal.cutLength, what + " cut length");
    expectNear(runs.travelLength, literal.travelLength, what + " travel length");
    EXPECT_EQ(runs.pointCuts, literal.pointCuts) << what;
    EXPECT_EQ(runs.dies, literal.dies) << what;
    EXPECT_EQ(runs.diesFullyCut, literal.diesFullyCut) << what;
    EXPECT_EQ(runs.uncutDies, literal.uncutDies) << what;
    EXPECT_EQ(runs.uncutEdges, literal.uncutEdges) << what;
    ASSERT_EQ(runs.uncut.size(), literal.uncut.size()) << what;
    for (std::size_t i = 0; i < runs.uncut.size(); ++i) {
        EXPECT_EQ(runs.uncut[i].row, literal.uncut[i].row) << what;
        EXPECT_EQ(runs.uncut[i].die, literal.uncut[i].die) << what;
        EXPECT_EQ(runs.uncut[i].uncutEdges, literal.uncut[i].uncutEdges) << what;
        EXPECT_EQ(runs.uncut[i].cuts, literal.uncut[i].cuts) << what;
        EXPECT_EQ(runs.uncut[i].centre, literal.uncut[i].centre) << what;
    }
    EXPECT_EQ(runs.elementsByCutCount, literal.elementsByCutCount) << what;
    EXPECT_EQ(runs.outsideCuts, literal.outsideCuts) << what;
    expectSameCuts(runs.outside, literal.outside, what + " outside");
    EXPECT_EQ(runs.strayCuts, literal.strayCuts) << what;
    expectSameCuts(runs.stray, literal.stray, what + " stray");
    expectNear(runs.arcOvershoot, literal.arcOvershoot, what + " overshoot");
    // Matched ends lie within the tolerance of their points either way; the
    // sums of steps round a little differently from the motions one by one.
    EXPECT_NEAR(runs.worstDeviation, literal.worstDeviation, 1e-9) << what;
    expectNear(runs.latticeDeviation, literal.latticeDeviation, what + " lattice");
    expectNear(runs.end.x, literal.end.x, what + " end");
    expectNear(runs.end.y, literal.end.y, what + " end");
    EXPECT_EQ(runs.zeroShifts, literal.zeroShifts) << what;
    EXPECT_EQ(runs.zeroShiftLines, literal.zeroShiftLines) << what;
    EXPECT_EQ(runs.laserOff, literal.laserOff) << what;
    EXPECT_EQ(runs.cutOpen, literal.cutOpen) << what;
    ASSERT_EQ(runs.machineSeconds.has_value(), literal.machineSeconds.has_value()) << what;
    if (runs.machineSeconds)
        expectNear(*runs.machineSeconds, *literal.machineSeconds, what + " machine time");
}

/// Checks `text` both ways and compares; false when it is no program (both
/// ways alike).
bool compareBothWays(const std::string& text, const WaferLayout& layout, const std::string& what)
{
    CutCheckOptions literal;
    literal.literal = true;
    const auto byRuns = checkProgramText(text, layout);
    const auto byMotions = checkProgramText(text, layout, literal);
    EXPECT_EQ(byRuns.index(), byMotions.index()) << what;
    if (byRuns.index() != 0 || byMotions.index() != 0)
        return false;
    expectSameReport(std::get<CutReport>(byRuns), std::get<CutReport>(byMotions), what);
    return true;
}

struct LayoutCase {
    const char* wafer;
    const char* shape;
    const char* die;
    const char* gap;
};

// Layouts of every shape, small enough to check motion by motion: even and
// odd row counts, rows of one die, gaps.
const LayoutCase Layouts[] = {
    {"2.0 Inches", "Circle", "100", "2"}, {"2.0 Inches", "Circle", "61", ""},   {"3.0 Inches", "Circle", "150", "3"},
    {"2.0 Inches", "Circle", "700", ""},  {"2.0 Inches", "Hexagon", "600", ""}, {"2.0 Inches", "Hexagon", "150", "2"},
    {"2.0 Inches", "Hexagon", "73", ""},  {"3.0 Inches", "Hexagon", "220", "5"}, {"2.0 Inches", "Square", "100", "2"},
    {"2.0 Inches", "Square", "47", ""},   {"3.0 Inches", "Square", "330", "4"},  {"2.0 Inches", "Square", "900", ""},
};

std::string nameOf(const LayoutCase& c, int passes)
{
    return std::string(c.wafer) + " " + c.shape + " " + c.die + "/" + c.gap + " passes " + std::to_string(passes);
}

} // namespace

TEST(CutCheckRuns, GeneratedProgramsGiveTheSameReportAsTheLiteralRun)
{
    for (const LayoutCase& c : Layouts) {
        const WaferLayout layout = designed(c.wafer, c.shape, c.die, c.gap).layout;
        for (int passes = 1; passes <= 4; ++passes) {
            const std::string text = programFor(layout, passes);
            EXPECT_TRUE(compareBothWays(text, layout, nameOf(c, passes)));
            CutCheckOptions given;
            given.passes = passes + 1; // one pass short everywhere
            CutCheckOptions givenLiteral = given;
            givenLiteral.literal = true;
            const auto a = checkProgramText(text, layout, given);
            const auto b = checkProgramText(text, layout, givenLiteral);
            ASSERT_EQ(a.index(), 0u);
            expectSameReport(std::get<CutReport>(a), std::get<CutReport>(b), nameOf(c, passes) + " short");
            if (std::get<CutReport>(a).dies > 0) {
                EXPECT_FALSE(std::get<CutReport>(a).allCut()) << nameOf(c, passes);
            }
        }
    }
}

TEST(CutCheckRuns, BrokenProgramsGiveTheSameReportAsTheLiteralRun)
{
    std::mt19937 random(8);
    int compared = 0, zeroed = 0;
    for (const LayoutCase& c : Layouts) {
        const WaferLayout layout = designed(c.wafer, c.shape, c.die, c.gap).layout;
        for (int passes = 1; passes <= 4; ++passes) {
            const std::string program = programFor(layout, passes);
            auto versions = brokenVersions(program, random);
            const auto more = brokenVersions(program, random);
            versions.insert(versions.end(), more.begin(), more.end());
            for (const auto& [what, text] : versions) {
                compared += compareBothWays(text, layout, nameOf(c, passes) + ", " + what);
                // A ZERO off the zero is never clean.
                if (what.starts_with("ZERO")) {
                    const auto r = checkProgramText(text, layout);
                    const bool shifted = r.index() == 0 && std::get<CutReport>(r).zeroShifts > 0;
                    zeroed += shifted;
                    EXPECT_FALSE(shifted && std::get<CutReport>(r).clean()) << what;
                }
            }
        }
    }
    EXPECT_GT(compared, 1000);
    EXPECT_GT(zeroed, 100);
}

// A row's repeat one short: the check by runs names the last die of that row
// and its edges, as the literal run does.
TEST(CutCheckRuns, ARepeatOneShortLeavesTheLastDieOfItsRowUncut)
{
    for (const char* shape : {"Circle", "Hexagon"}) {
        const WaferLayout layout = designed("2.0 Inches", shape, "150", "2").layout;
        std::vector<std::string> lines = programLines(programFor(layout, 1));
        // The last row's repeat: nothing after it moves on from where it ends.
        std::size_t at = lines.size() - 1;
        while (!lines[at].starts_with("SL "))
            --at;
        const int dies = std::stoi(lines[at].substr(3));
        lines[at] = "SL " + std::to_string(dies - 1);
        const auto result = checkProgramText(joined(lines), layout);
        ASSERT_EQ(result.index(), 0u);
        const CutReport& r = std::get<CutReport>(result);
        ASSERT_EQ(r.uncut.size(), 1u) << shape;
        const int lastRow = layout.RowTable.upperBound();
        EXPECT_EQ(r.uncut.front().row, lastRow) << shape;
        EXPECT_EQ(r.strayCuts, 0) << shape;
        if (layout.shape == DieShape::Circle) {
            EXPECT_EQ(r.uncut.front().die, dies); // the row runs rightwards
        } else {
            // The bottom row's lower edges are cut leftwards: its first die keeps both.
            EXPECT_EQ(r.uncut.front().die, 1);
            EXPECT_EQ(r.uncut.front().uncutEdges, 0b110000); // lower right, lower left
        }
        EXPECT_TRUE(compareBothWays(joined(lines), layout, std::string(shape) + " one short"));
    }
}

namespace {

std::string unit(const std::string& body)
{
    return "PN HOSTILE\r\nDI 1 10000\r\nII\r\nLASON\r\n" + body + "OFF\r\nEI\r\n";
}

} // namespace

// Hostile programs end within their bounds: checked (copies that retrace one
// path are matched once) or said to be beyond the bounds, never reported as
// faulty for that.
TEST(CutCheckRuns, HostileProgramsAreCheckedOrSaidToBeBeyondTheBounds)
{
    const WaferLayout hexagons = designed("5.0 Inches", "Hexagon", "0.2").layout;
    // A billion retraced diagonals across the wafer: matched once, counted a billion times.
    const auto diagonals = checkProgramText(
        unit("MA X -2 Y -1.16\r\nOS\r\nSL 1000000000\r\nMI X 4 Y 2.32\r\nMI X -4 Y -2.32\r\nEL\r\nCS\r\n"), hexagons);
    ASSERT_EQ(diagonals.index(), 0u);
    const CutReport& d = std::get<CutReport>(diagonals);
    EXPECT_EQ(d.unchecked, Unchecked::No);
    EXPECT_EQ(d.strayCuts, 2'000'000'000);
    ASSERT_EQ(d.stray.size(), 50u);
    EXPECT_EQ(d.stray[0].line, 8u);
    EXPECT_EQ(d.stray[1].line, 9u);
    EXPECT_EQ(d.stray[2].line, 8u);
    EXPECT_FALSE(d.allCut());

    // 1.3e9 part arcs, each a degree further round: far too many to match.
    const WaferLayout circles = designed("2.0 Inches", "Circle", "20").layout;
    const auto arcs =
        checkProgramText(unit("MA X 0.5 Y 0\r\nOS\r\nSL 1300000000\r\nMI X 0.1 ARC 1\r\nEL\r\nCS\r\n"), circles);
    ASSERT_EQ(arcs.index(), 0u);
    EXPECT_EQ(std::get<CutReport>(arcs).unchecked, Unchecked::TooLarge);
    EXPECT_FALSE(std::get<CutReport>(arcs).allCut());
    EXPECT_STREQ(uncheckedText(Unchecked::TooLarge), "程式展開後太大，無法檢查。");

    // Tiny steps: four billion along one line are one cut of 40 000 inches;
    // a billion pairs of them, a staircase, only the machine's order can follow.
    const auto line = checkProgramText(unit("OS\r\nSL 4000000000\r\nMI X 0.00001\r\nEL\r\nCS\r\n"), circles);
    ASSERT_EQ(line.index(), 0u);
    const CutReport& l = std::get<CutReport>(line);
    EXPECT_EQ(l.unchecked, Unchecked::No);
    EXPECT_EQ(l.strayCuts, 1);
    EXPECT_EQ(l.outsideCuts, 1);
    EXPECT_EQ(l.pointCuts, 0u);
    const auto stairs =
        checkProgramText(unit("OS\r\nSL 1000000000\r\nMI X 0.00001\r\nMI Y 0.00001\r\nEL\r\nCS\r\n"), circles);
    ASSERT_EQ(stairs.index(), 0u);
    EXPECT_EQ(std::get<CutReport>(stairs).unchecked, Unchecked::TooLarge);

    // Repeats nested deeper than a run has levels, each pass run on its own.
    std::string deep = "OS\r\n";
    for (int k = 0; k < 6; ++k)
        deep += "SL 4000\r\n";
    deep += "MI X 0.0001\r\n";
    for (int k = 0; k < 6; ++k)
        deep += "EL\r\n";
    const auto nested = checkProgramText(unit(deep + "CS\r\n"), circles);
    ASSERT_EQ(nested.index(), 0u);
    EXPECT_EQ(std::get<CutReport>(nested).unchecked, Unchecked::TooLarge);
}

// The largest layouts need no memory per die: a program that cuts one line
// of them is checked, its uncut dies counted and the first of them listed.
TEST(CutCheckRuns, TheLargestLayoutsAreCheckedWithoutMemoryPerDie)
{
    for (const char* shape : {"Circle", "Hexagon", "Square"}) {
        const WaferLayout layout = designed("5.0 Inches", shape, "0.2").layout;
        const auto result = checkProgramText(unit("OS\r\nMI X 1\r\nCS\r\n"), layout);
        ASSERT_EQ(result.index(), 0u);
        const CutReport& r = std::get<CutReport>(result);
        EXPECT_EQ(r.unchecked, Unchecked::No) << shape;
        EXPECT_GT(r.dies, 400'000'000) << shape;
        EXPECT_EQ(r.uncutDies, r.dies) << shape;
        EXPECT_EQ(r.uncut.size(), 50u) << shape;
    }
}
