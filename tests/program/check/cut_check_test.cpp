// SPDX-License-Identifier: GPL-3.0-or-later
// The check of a program's cuts against its layout: figures of layouts small
// enough to count by hand, programs broken on purpose, programs written by
// hand, and the progress callback.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "program/check/cut_check.h"
#include "program/reader/reading_error_text.h"
#include "program/writer/generation_driver.h"
#include "tests/support/design_helpers.h"
#include "tests/support/generated_programs.h"
#include "tests/support/program_text.h"

using namespace kerf;
using kerf::testing::designed;
using kerf::testing::joined;
using kerf::testing::programLines;
using kerf::testing::programFor;

namespace {

CutReport checked(const std::string& text, const WaferLayout& layout, const CutCheckOptions& options = {})
{
    auto result = checkProgramText(text, layout, options);
    if (const auto* error = std::get_if<ProgramError>(&result)) {
        ADD_FAILURE() << "not a program: " << readingErrorText(*error);
        return {};
    }
    return std::get<CutReport>(std::move(result));
}

/// 0-based index of the first line equal to `text` at or after `from`.
std::size_t indexOf(const std::vector<std::string>& lines, const std::string& text, std::size_t from = 0)
{
    for (std::size_t i = from; i < lines.size(); ++i)
        if (lines[i] == text)
            return i;
    ADD_FAILURE() << "no line " << text;
    return lines.size();
}

/// A program of one main unit around `body`, laser on and off as the
/// generated ones have it.
std::string handWritten(const std::string& body)
{
    return "PN HAND\r\nDI 1 10000\r\nII\r\nLASON\r\n" + body + "OFF\r\nEI\r\n";
}

const WaferLayout& oneCircle()
{
    static const WaferLayout layout = designed("2.0 Inches", "Circle", "1800").layout;
    return layout;
}
const WaferLayout& threeHexagonRows()
{
    static const WaferLayout layout = designed("2.0 Inches", "Hexagon", "600").layout;
    return layout;
}
const WaferLayout& twoByTwoSquares()
{
    static const WaferLayout layout = designed("2.0 Inches", "Square", "500").layout;
    return layout;
}

} // namespace

TEST(CutCheckFigures, OneRoundDie)
{
    // MA to (−0.9, 0), one turn of radius 0.9, MI X 1.8 away, MA home.
    const CutReport r = checked(programFor(oneCircle(), 1), oneCircle());
    EXPECT_EQ(r.dies, 1);
    EXPECT_EQ(r.diesFullyCut, 1);
    EXPECT_EQ(r.cuts, 1u);
    EXPECT_EQ(r.cuttingMotions, 1u);
    EXPECT_NEAR(r.cutLength, 2 * std::numbers::pi * 0.9, 1e-9);
    EXPECT_NEAR(r.travelLength, 0.9 + 1.8 + 0.9, 1e-9);
    EXPECT_EQ(r.passes, 1);
    EXPECT_EQ(r.passSource, PassSource::Dies);
    EXPECT_EQ(r.elementsByCutCount, (std::map<int, std::int64_t>{{1, 1}}));
    EXPECT_EQ(r.end, (ProgramPoint{0, 0}));
    EXPECT_TRUE(r.laserOff);
    EXPECT_FALSE(r.cutOpen);
    EXPECT_NEAR(r.arcOvershoot, 0.9 - 0.95, 1e-6); // the die's edge against the 1.9-inch circle
    EXPECT_TRUE(r.clean());
}

TEST(CutCheckFigures, OneRoundDieOfThreeTurns)
{
    const CutReport r = checked(programFor(oneCircle(), 3), oneCircle());
    EXPECT_EQ(r.passes, 3);
    EXPECT_EQ(r.passSource, PassSource::Dies);
    EXPECT_NEAR(r.cutLength, 3 * 2 * std::numbers::pi * 0.9, 1e-9);
    EXPECT_EQ(r.elementsByCutCount, (std::map<int, std::int64_t>{{3, 1}}));
    EXPECT_TRUE(r.clean());
    // Asked for four turns, the die is short of one.
    CutCheckOptions four;
    four.passes = 4;
    const CutReport short4 = checked(programFor(oneCircle(), 3), oneCircle(), four);
    EXPECT_EQ(short4.passSource, PassSource::Given);
    EXPECT_EQ(short4.uncutDies, 1);
    ASSERT_EQ(short4.uncut.size(), 1u);
    EXPECT_EQ(short4.uncut[0].row, 1);
    EXPECT_EQ(short4.uncut[0].die, 1);
    EXPECT_EQ(short4.uncut[0].cuts, 3);
    EXPECT_FALSE(short4.allCut());
}

TEST(CutCheckFigures, ThreeRowsOfHexagons)
{
    // Rows of 2, 3 and 2 dies, 600 mil across: 7 dies, 30 edges of which the 4
    // vertical sides shared in a row are cut twice (each die cuts both its
    // sides). Rows 1..3 and the final row's lower edges: 4 cuts, 34 moves of
    // one side each, 0.34641 inch.
    const CutReport r = checked(programFor(threeHexagonRows(), 1), threeHexagonRows());
    EXPECT_EQ(r.dies, 7);
    EXPECT_EQ(r.diesFullyCut, 7);
    EXPECT_EQ(r.cuts, 4u);
    EXPECT_EQ(r.cuttingMotions, 34u);
    EXPECT_NEAR(r.cutLength, 34 * 0.34641, 34 * 2e-6);
    EXPECT_EQ(r.elementsByCutCount, (std::map<int, std::int64_t>{{1, 26}, {2, 4}}));
    EXPECT_EQ(r.passes, 1);
    EXPECT_EQ(r.passSource, PassSource::Dies);
    EXPECT_EQ(r.uncutEdges, 0);
    EXPECT_LE(r.latticeDeviation, 1e-9);
    EXPECT_TRUE(r.clean());
    // There and back: every edge twice, the shared sides four times.
    const CutReport twoWay = checked(programFor(threeHexagonRows(), 2), threeHexagonRows());
    EXPECT_EQ(twoWay.elementsByCutCount, (std::map<int, std::int64_t>{{2, 26}, {4, 4}}));
    EXPECT_EQ(twoWay.passes, 2);
    EXPECT_TRUE(twoWay.clean());
}

TEST(CutCheckFigures, TwoByTwoSquares)
{
    // Three row lines and three column lines of two 500-mil pitches: 12
    // pieces, every one a side of one of the 4 cells.
    const CutReport r = checked(programFor(twoByTwoSquares(), 1), twoByTwoSquares());
    EXPECT_EQ(r.dies, 4);
    EXPECT_EQ(r.diesFullyCut, 4);
    EXPECT_EQ(r.cuts, 6u);
    EXPECT_EQ(r.cuttingMotions, 6u);
    EXPECT_NEAR(r.cutLength, 6 * 1.0, 1e-9);
    EXPECT_EQ(r.elementsByCutCount, (std::map<int, std::int64_t>{{1, 12}}));
    EXPECT_EQ(r.passes, 1);
    EXPECT_TRUE(r.clean());
    // Three passes repeat the grid: the repeat count says so.
    const CutReport thrice = checked(programFor(twoByTwoSquares(), 3), twoByTwoSquares());
    EXPECT_EQ(thrice.passes, 3);
    EXPECT_EQ(thrice.passSource, PassSource::Dies);
    EXPECT_EQ(thrice.cuttingMotions, 18u);
    EXPECT_EQ(thrice.elementsByCutCount, (std::map<int, std::int64_t>{{3, 12}}));
    EXPECT_TRUE(thrice.clean());
}

TEST(CutCheckBroken, ALineRemovedLeavesItsRowUncut)
{
    // The OS of the hexagons' second row removed: the row's moves run with
    // the laser off, so its dies keep their left, upper and right edges, and
    // the first row its lower ones.
    std::vector<std::string> lines = programLines(programFor(threeHexagonRows(), 1));
    const std::size_t row2 = indexOf(lines, "# Row 2");
    ASSERT_EQ(lines[row2 + 1], "OS");
    lines.erase(lines.begin() + static_cast<long>(row2 + 1));
    const CutReport r = checked(joined(lines), threeHexagonRows());
    EXPECT_FALSE(r.allCut());
    EXPECT_EQ(r.diesFullyCut, 2); // the third row's
    EXPECT_EQ(r.uncutDies, 5);
    ASSERT_EQ(r.uncut.size(), 5u);
    EXPECT_EQ(r.uncut[0].row, 1);
    EXPECT_EQ(r.uncut[0].uncutEdges, 0b110000); // lower right, lower left
    EXPECT_EQ(r.uncut[2].row, 2);
    EXPECT_EQ(r.uncut[2].die, 1);
    EXPECT_NEAR(r.uncut[2].centre.x, -0.6, 1e-9);
    EXPECT_NEAR(r.uncut[2].centre.y, 0, 1e-9);
    // Left, upper left, upper right, right; the row's end dies their lower
    // left or right edge too, which only this row cuts.
    EXPECT_EQ(r.uncut[2].uncutEdges, 0b101111);
    EXPECT_EQ(r.uncut[3].uncutEdges, 0b001111);
    EXPECT_EQ(r.uncut[4].uncutEdges, 0b011111);
    EXPECT_EQ(r.uncut[2].cuts, 0);
    // Row 2's upper edges and sides (3 + 3 + 4) and its two lower end edges.
    EXPECT_EQ(r.uncutEdges, 12);
    EXPECT_EQ(r.strayCuts, 0);
}

TEST(CutCheckBroken, AMoveChangedIsReportedAtItsLine)
{
    // The second row's first cut ends off its corner: that cut, and every
    // cut after it (the moves are relative), lies on no die edge.
    std::vector<std::string> lines = programLines(programFor(threeHexagonRows(), 1));
    const std::size_t row2 = indexOf(lines, "# Row 2");
    ASSERT_EQ(lines[row2 + 2], "MI X 0.3 Y 0.173205");
    lines[row2 + 2] = "MI X 0.3 Y 0.183205";
    const CutReport r = checked(joined(lines), threeHexagonRows());
    ASSERT_FALSE(r.stray.empty());
    EXPECT_EQ(r.stray[0].line, row2 + 3);
    EXPECT_NEAR(r.stray[0].to.y, -0.173205 + 0.01, 1e-9);
    EXPECT_EQ(r.strayCuts, 34 - 8); // all but the first row's
    EXPECT_FALSE(r.clean());
    EXPECT_GT(r.uncutDies, 0);
}

TEST(CutCheckBroken, AnELMissingIsReportedAtItsSL)
{
    std::vector<std::string> lines = programLines(programFor(threeHexagonRows(), 1));
    const std::size_t row1 = indexOf(lines, "# Row 1");
    ASSERT_EQ(lines[row1 + 2], "SL 2");
    ASSERT_EQ(lines[row1 + 4], "EL");
    lines.erase(lines.begin() + static_cast<long>(row1 + 4));
    const auto result = checkProgramText(joined(lines), threeHexagonRows());
    ASSERT_TRUE(std::holds_alternative<ProgramError>(result));
    const ProgramError& error = std::get<ProgramError>(result);
    EXPECT_EQ(error.kind, ProgramErrorKind::SLWithoutEL);
    EXPECT_EQ(error.line, row1 + 3);
}

TEST(CutCheckBroken, ARoundDieRowMovedLeavesItsDiesUncut)
{
    // The first row move of a 100-mil layout moved a pitch to the right: the
    // second row's arcs are all a die to the right, the last of them about no die.
    const WaferLayout layout = designed("2.0 Inches", "Circle", "100", "2").layout;
    std::vector<std::string> lines = programLines(programFor(layout, 1));
    const std::size_t move = indexOf(lines, "MI X 0.153 Y -0.088335");
    lines[move] = "MI X 0.255 Y -0.088335";
    const CutReport r = checked(joined(lines), layout);
    EXPECT_FALSE(r.allCut());
    ASSERT_FALSE(r.uncut.empty());
    EXPECT_EQ(r.uncut[0].row, 2);
    EXPECT_EQ(r.uncut[0].die, 1);
    EXPECT_EQ(r.uncut[0].cuts, 0);
    ASSERT_FALSE(r.stray.empty());
    EXPECT_EQ(r.stray[0].line, indexOf(lines, "PN CIR2") + 7); // the arc of CIR2
}

namespace {

/// The 2 × 2 grid of 500-mil squares cut by its three row lines and three
/// column lines from `from` to `to` inches, each once.
std::string gridCuts(const std::string& from, const std::string& length)
{
    std::string body;
    for (const char* at : {"-0.5", "0", "0.5"}) {
        body += "MA X " + from + " Y " + at + "\r\nOS\r\nMI X " + length + "\r\nCS\r\n";
        body += "MA X " + std::string(at) + " Y " + from + "\r\nOS\r\nMI Y " + length + "\r\nCS\r\n";
    }
    return body;
}

/// `lines` with `added` put in front of line `at` (0-based).
std::string withLines(std::vector<std::string> lines, std::size_t at, const std::vector<std::string>& added)
{
    lines.insert(lines.begin() + static_cast<long>(at), added.begin(), added.end());
    return joined(lines);
}

} // namespace

// Programs edited by hand: the verdict and the figures say what the cuts
// physically do.
TEST(CutCheckBroken, ProgramsEditedByHandAreJudgedByWhatTheyCut)
{
    const WaferLayout squares200 = designed("2.0 Inches", "Square", "200").layout;
    const WaferLayout hexagons300 = designed("2.0 Inches", "Hexagon", "300").layout;
    const std::vector<std::string> square = programLines(programFor(squares200, 1));
    const std::vector<std::string> hexagon = programLines(programFor(hexagons300, 1));
    const std::vector<std::string> threeRows = programLines(programFor(threeHexagonRows(), 1));
    const std::size_t firstMA = indexOf(square, "# MAIN PROGRAM") + 1;
    const std::size_t hex1 = indexOf(hexagon, "PN HEX1") + 5;
    // The first edge of the three rows' HEX1, cut in two halves.
    std::vector<std::string> halves = threeRows;
    const std::size_t edge = indexOf(halves, "PN HEX1") + 5;
    ASSERT_EQ(halves[edge], "MI Y 0.34641");
    halves[edge] = "MI Y 0.173205";
    const struct {
        const char* what;
        const WaferLayout& layout;
        std::string text;
        int passes;
        std::int64_t uncut, stray, zeroShifts;
        std::uint32_t zeroLine;
    } cases[] = {
        // ZERO off the zero: the later MA moves land elsewhere; the program is wrong.
        {"ZERO after the first MA", squares200, withLines(square, firstMA + 1, {"ZERO"}), 1, 34, 9, 1,
         static_cast<std::uint32_t>(firstMA + 2)},
        {"ZERO in HEX1", hexagons300, withLines(hexagon, hex1, {"ZERO"}), 1, 0, 0, 11,
         static_cast<std::uint32_t>(hex1 + 1)},
        {"ZERO at the origin", squares200, withLines(square, firstMA, {"ZERO"}), 1, 0, 0, 0, 0},
        // Passes that start elsewhere each cut every side.
        {"1000 passes of the grid, each starting where the last ended", twoByTwoSquares(),
         handWritten("SL 1000\r\n" + gridCuts("-0.5", "1") + "MI X 0.1\r\nEL\r\n"), 1000, 0, 0, 0, 0},
        // One side retraced 100 times more: the dies still receive one cut.
        {"one side retraced", twoByTwoSquares(),
         handWritten(gridCuts("-0.5", "1") + "MA X -0.5 Y 0\r\nOS\r\nSL 100\r\nMI X 0.5\r\nMI X -0.5\r\nEL\r\nCS\r\n"), 1,
         0, 0, 0, 0},
        // Lines past the layout: their part on the grid counts, the cuts are stray.
        {"lines past the layout", twoByTwoSquares(), handWritten(gridCuts("-0.7", "1.4")), 1, 0, 6, 0, 0},
        // Halves of a line or an edge add up.
        {"lines in halves", twoByTwoSquares(), handWritten(gridCuts("-0.5", "0.5") + gridCuts("0", "0.5")), 1, 0, 0, 0, 0},
        {"an edge in halves", threeHexagonRows(), withLines(halves, edge, {"MI Y 0.173205"}), 1, 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        const CutReport r = checked(c.text, c.layout);
        EXPECT_EQ(r.passes, c.passes) << c.what;
        EXPECT_EQ(r.uncutDies, c.uncut) << c.what;
        EXPECT_EQ(r.strayCuts, c.stray) << c.what;
        EXPECT_EQ(r.zeroShifts, c.zeroShifts) << c.what;
        EXPECT_EQ(r.zeroShiftLines, c.zeroShifts ? std::vector<std::uint32_t>{c.zeroLine} : std::vector<std::uint32_t>{})
            << c.what;
        EXPECT_EQ(r.clean(), c.uncut == 0 && c.stray == 0 && c.zeroShifts == 0) << c.what;
    }
}

TEST(CutCheckHandWritten, CutsOutsideTheEffectiveCircleAreFlaggedWithTheirLines)
{
    // The one-die square grid cross (700 mil) cut, then a cut from the
    // centre to 1.2 inches right, past the 1.9-inch effective circle.
    const WaferLayout layout = designed("2.0 Inches", "Square", "700").layout;
    const CutReport r = checked(handWritten("MA X 0 Y 0\r\nOS\r\nMI X 1.2\r\nCS\r\nMA X 0 Y 0\r\n"), layout);
    EXPECT_EQ(r.outsideCuts, 1);
    ASSERT_EQ(r.outside.size(), 1u);
    EXPECT_EQ(r.outside[0].line, 7u);
    EXPECT_EQ(r.outside[0].to, (ProgramPoint{1.2, 0}));
    EXPECT_EQ(r.strayCuts, 1); // past the end of the centre row line
    EXPECT_FALSE(r.clean());
}

TEST(CutCheckHandWritten, AProgramThatCutsNothing)
{
    const CutReport r = checked(handWritten("MA X 0.1 Y 0.1\r\n"), threeHexagonRows());
    EXPECT_EQ(r.dies, 7);
    EXPECT_EQ(r.diesFullyCut, 0);
    EXPECT_EQ(r.uncutDies, 7);
    EXPECT_EQ(r.uncutEdges, 30);
    EXPECT_EQ(r.elementsByCutCount, (std::map<int, std::int64_t>{{0, 30}}));
    EXPECT_EQ(r.end, (ProgramPoint{0.1, 0.1}));
    EXPECT_EQ(r.cuts, 0u);
}

TEST(CutCheckHandWritten, LongCutsAlongEdgesCountTheEdgesAndAreStray)
{
    // Up the side that the middle row's first two dies share, and on into
    // the die above, to its centre.
    const CutReport r = checked(handWritten("MA X -0.3 Y -0.173205\r\nOS\r\nMI Y 0.69282\r\nCS\r\n"),
                                threeHexagonRows());
    EXPECT_EQ(r.strayCuts, 1);
    EXPECT_EQ(r.outsideCuts, 0);
    ASSERT_EQ(r.uncut.size(), 7u);
    EXPECT_EQ(r.uncut[2].uncutEdges, 0b110111); // row 2 die 1: its right side cut
    EXPECT_EQ(r.uncut[3].uncutEdges, 0b111110); // row 2 die 2: its left side
    EXPECT_EQ(r.uncutEdges, 29);
}

TEST(CutCheckHandWritten, PartTurnsAddUpByWhatTheyCoverAndOtherRadiiAreStray)
{
    // Half turns about the die from (−0.9, 0): clockwise over the top, then
    // on from (0.9, 0) under it, or over the top once more.
    const std::string half = "MA X -0.9 Y 0\r\nOS\r\nMI X 0.9 Y 0 ARC -180.0\r\nCS\r\n";
    const struct {
        std::string body;
        std::int64_t uncut;
        int turns;
    } cases[] = {
        {half, 1, 0},
        {half + "OS\r\nMI X -0.9 Y 0 ARC -180.0\r\nCS\r\n", 0, 1},
        {half + half, 1, 0},
        {"MA X -0.9 Y 0\r\nOS\r\nMI X 0.9 Y 0 ARC -540.0\r\nMI X -0.9 Y 0 ARC -180.0\r\nCS\r\n", 0, 2},
    };
    for (const auto& c : cases) {
        const CutReport r = checked(handWritten(c.body), oneCircle());
        EXPECT_EQ(r.strayCuts, 0) << c.body;
        EXPECT_EQ(r.uncutDies, c.uncut) << c.body;
        EXPECT_EQ(r.elementsByCutCount, (std::map<int, std::int64_t>{{c.turns, 1}})) << c.body;
    }
    const CutReport smaller = checked(handWritten("MA X -0.8 Y 0\r\nOS\r\nMI X 0.8 Y 0 ARC -360.0\r\nCS\r\n"),
                                      oneCircle());
    EXPECT_EQ(smaller.strayCuts, 1);
    EXPECT_EQ(smaller.uncutDies, 1);
    // A straight cut is never a round die's.
    const CutReport straight = checked(handWritten("OS\r\nMI X 0.1\r\nCS\r\n"), oneCircle());
    EXPECT_EQ(straight.strayCuts, 1);
}

TEST(CutCheckHandWritten, FarAwayAndEndlessNumbersDoNotBreakTheCheck)
{
    // A move to 1e300 inches, then ten of 1e308: the head ends at infinity.
    const std::string far = "1" + std::string(300, '0');
    const std::string farther = "1" + std::string(308, '0');
    const std::string body =
        "OS\r\nMA X " + far + " Y -" + far + "\r\nSL 10\r\nMI X " + farther + "\r\nEL\r\nCS\r\n";
    const CutReport r = checked(handWritten(body), twoByTwoSquares());
    EXPECT_EQ(r.strayCuts, 11);
    EXPECT_EQ(r.outsideCuts, 11);
    EXPECT_EQ(r.uncutDies, 4);
    EXPECT_TRUE(std::isinf(r.end.x));
    for (const WaferLayout* layout : {&oneCircle(), &threeHexagonRows()}) {
        const CutReport other = checked(handWritten(body), *layout);
        EXPECT_EQ(other.strayCuts, 11);
        EXPECT_EQ(other.uncutDies, other.dies);
    }
    // A short cut along an edge's direction, 1e70 inches to the side.
    const std::string aside = "MA X 1" + std::string(70, '0') + " Y 0\r\nOS\r\nMI Y 0.001\r\nCS\r\n";
    for (const WaferLayout* layout : {&twoByTwoSquares(), &threeHexagonRows()})
        EXPECT_EQ(checked(handWritten(aside), *layout).strayCuts, 1);
}

TEST(CutCheckHandWritten, ALongDiagonalFarFromTheDiesIsOneStrayAndOutsideCut)
{
    // Half a million edges long, all of them away from the dies: looked at
    // only near the dies' box.
    const CutReport r = checked(handWritten("MA X -150000 Y -86602.5\r\nOS\r\nMI X 300000 Y 173205\r\nCS\r\n"),
                                threeHexagonRows());
    EXPECT_EQ(r.strayCuts, 1);
    EXPECT_EQ(r.outsideCuts, 1);
}

TEST(CutCheckHandWritten, PointCutsOnTheGridAreNoFault)
{
    // The 700-mil square layout's lines of 0 pitches: the laser opens on a point.
    const WaferLayout layout = designed("2.0 Inches", "Square", "700").layout;
    const CutReport r = checked(programFor(layout, 1), layout);
    EXPECT_EQ(r.pointCuts, 4u);
    EXPECT_EQ(r.dies, 0);
    EXPECT_TRUE(r.clean());
    // Off the grid, and outside the effective circle, a point is no cut either.
    for (const char* at : {"0.35 Y 0.35", "5 Y 5"}) {
        const CutReport off =
            checked(handWritten("MA X " + std::string(at) + "\r\nOS\r\nMI X 0\r\nCS\r\n"), layout);
        EXPECT_EQ(off.pointCuts, 1u) << at;
        EXPECT_EQ(off.strayCuts + off.outsideCuts, 0) << at;
    }
}

TEST(CutCheckProgress, ReportsAndCancels)
{
    const WaferLayout layout = designed("4.0 Inches", "Hexagon", "10").layout;
    auto parsed = parseProgram(programFor(layout, 1));
    ASSERT_TRUE(std::holds_alternative<Program>(parsed));
    const Program& program = std::get<Program>(parsed);

    std::vector<std::uint64_t> seen;
    std::uint64_t total = 0;
    CutCheckOptions options;
    options.progress = [&](std::uint64_t done, std::uint64_t all) {
        seen.push_back(done);
        total = all;
        return true;
    };
    const CutReport full = checkCuts(program, layout, options);
    EXPECT_TRUE(full.clean());
    ASSERT_GE(seen.size(), 3u);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_EQ(total, program.expandedMotions() + static_cast<std::uint64_t>(full.dies));
    EXPECT_LE(seen.back(), total);

    options.progress = [](std::uint64_t done, std::uint64_t) { return done < 200000; };
    const CutReport cancelled = checkCuts(program, layout, options);
    EXPECT_TRUE(cancelled.cancelled);
    EXPECT_FALSE(cancelled.allCut());
    EXPECT_LT(cancelled.motions, program.expandedMotions());
}

TEST(CutCheckLists, AreCappedAndTheTotalsCountAll)
{
    const WaferLayout layout = designed("2.0 Inches", "Hexagon", "100").layout;
    CutCheckOptions options;
    options.listLimit = 3;
    const CutReport r = checked(handWritten("MA X 0 Y 0\r\n"), layout, options);
    EXPECT_EQ(r.uncut.size(), 3u);
    EXPECT_EQ(r.uncutDies, r.dies);
    EXPECT_EQ(r.uncut[0].row, 1);
    EXPECT_EQ(r.uncut[1].die, 2);
}

TEST(CutCheckTolerance, DecidesWhetherACutEndIsOnItsCorner)
{
    // A pitch of more than six decimals: the square program's lengths are
    // rounded, so its lines drift by up to a millionth of an inch a move.
    const WaferLayout layout = designed("2.0 Inches", "Square", "12.34567").layout;
    const std::string text = programFor(layout, 1);
    CutCheckOptions tight;
    tight.tolerance = 1e-9;
    const CutReport exact = checked(text, layout, tight);
    EXPECT_FALSE(exact.clean());
    EXPECT_GT(exact.strayCuts, 0);
    const CutReport usual = checked(text, layout);
    EXPECT_TRUE(usual.clean());
    EXPECT_GT(usual.worstDeviation, 1e-7);
    EXPECT_LT(usual.worstDeviation, 5e-5);
}

TEST(CutCheckHandWritten, ALayoutFarOffItsLatticeIsNotIndexed)
{
    // Rows moved far away (not a layout of the design button): the check
    // still reports, every die uncut, without a lookup table across the gap.
    for (const WaferLayout* original : {&oneCircle(), &threeHexagonRows(), &twoByTwoSquares()}) {
        WaferLayout layout = *original;
        layout.RowTable[layout.RowTable.upperBound()].PosY = Number::ofDouble(3e6);
        if (layout.ColumnTable.upperBound() > 0)
            layout.ColumnTable[1].PosX = Number::ofDouble(-4e6);
        const CutReport r = checked(programFor(*original, 1), layout);
        EXPECT_FALSE(r.clean()) << shapeText(layout.shape);
        EXPECT_GT(r.latticeDeviation, 1e-3) << shapeText(layout.shape);
        // Every die is still there to be reported: as many as in the layout it came from.
        EXPECT_EQ(r.dies, checked(programFor(*original, 1), *original).dies) << shapeText(layout.shape);
        EXPECT_EQ(r.uncutDies + r.diesFullyCut, r.dies) << shapeText(layout.shape);
    }
}
