// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <sstream>

#include "program/writer/shapes/hexagon_program_two_way.h"
#include "tests/support/design_helpers.h"
#include "tests/support/generated_programs.h"
#include "tests/support/program_text.h"

using namespace kerf;
using namespace kerf::testing;

namespace {

std::vector<std::string> program(const WaferLayout& layout)
{
    return writtenLines(WriteHexagonProgramTwoWay, layout, 2);
}

} // namespace

TEST(HexagonSubroutines, OfTheTwentySixMilDie)
{
    const auto lines = program(designedLayout("2.0 Inches", "Hexagon", "26"));
    const std::vector<std::string> units = {
        "PN HEX1", "DI 1 10000", "II", "# 2004/03/05", "# First Hexagon Subroutine",
        "MI Y 0.015012", "MI X 0.013 Y 0.007506", "MI X 0.013 Y -0.007506", "MI Y -0.015012", "EI", "",
        "PN HEX2", "DI 1 10000", "II", "# 2004/03/05", "# Second Hexagon Subroutine",
        "MI Y 0.015012", "MI X -0.013 Y 0.007506", "MI X -0.013 Y -0.007506", "MI Y -0.015012", "EI", "",
        "PN HEX3", "DI 1 10000", "II", "# 2004/03/05", "# Third Hexagon Subroutine",
        "MI X 0.013 Y -0.007506", "MI X 0.013 Y 0.007506", "EI", "",
        "PN HEX4", "DI 1 10000", "II", "# 2004/03/05", "# Forth Hexagon Subroutine",
        "MI X -0.013 Y -0.007506", "MI X -0.013 Y 0.007506", "EI", "",
        "PN job"};
    ASSERT_GE(lines.size(), units.size());
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + static_cast<long>(units.size())), units);
}

TEST(HexagonProgramTwoWay, RowsAreNumberedTopToBottomThenTheFinalRow)
{
    const WaferLayout layout = designedLayout("3.0 Inches", "Hexagon", "100");
    const auto body = programBody(program(layout));
    std::vector<std::string> comments;
    for (const std::string& line : body)
        if (line.rfind("# ", 0) == 0)
            comments.push_back(line);
    ASSERT_EQ(comments.size(), static_cast<std::size_t>(layout.RowTable.upperBound()) + 1);
    for (std::size_t i = 0; i + 1 < comments.size(); ++i)
        EXPECT_EQ(comments[i], "# Row " + std::to_string(i + 1));
    EXPECT_EQ(comments.back(), "# Final Row");
    const int top = (layout.RowTable.upperBound() + 1) / 2;
    EXPECT_EQ(body.front(), "MA X " + layout.RowTable[top].RelX.text() + " Y " + layout.RowTable[top].RelY.text());
}

TEST(HexagonProgramTwoWay, EveryMoveBetweenRowsGoesDownByThreeHalfSides)
{
    const auto body = programBody(program(hexagonRows({1, 4, 5, 4, 1}, 0.013f, 0.007506)));
    const std::vector<std::string> moves = {"MI X -0.039 Y -0.022518", "MI X -0.013 Y -0.022518",
                                            "MI X 0.013 Y -0.022518", "MI X 0.039 Y -0.022518"};
    std::vector<std::string> written;
    for (std::size_t i = 1; i < body.size(); ++i)
        if (body[i - 1] == "WT 0.1")
            written.push_back(body[i]);
    written.pop_back(); // the final row's comment
    EXPECT_EQ(written, moves);
}

struct EndCutCase {
    int diff;
    std::vector<std::string> left;
    std::vector<std::string> right;
};

void PrintTo(const EndCutCase& c, std::ostream* out) { *out << "diff " << c.diff; }

class HexagonTwoWayEnds : public ::testing::TestWithParam<EndCutCase> {};

TEST_P(HexagonTwoWayEnds, CutTheLowerEdgesThatTheNextRowLeavesOpen)
{
    const EndCutCase& c = GetParam();
    const int dies = 3 + c.diff;
    const auto lines = program(hexagonRows({1, dies, 3}, 0.013f, 0.007506));
    std::vector<std::string> expected = {"# Row 2", "OS"};
    expected.insert(expected.end(), c.left.begin(), c.left.end());
    for (const std::string& line : {"SL " + std::to_string(dies), std::string("HEX1"), std::string("EL")})
        expected.push_back(line);
    expected.insert(expected.end(), c.right.begin(), c.right.end());
    for (const std::string& line : {"SL " + std::to_string(dies), std::string("HEX2"), std::string("EL"),
                                    std::string("CS"), std::string("WT 0.1")})
        expected.push_back(line);
    std::ostringstream move;
    move << "MI X " << (c.diff == 1 ? "0.013" : c.diff == 3 ? "0.039" : c.diff == 5 ? "0.065" : "0.091")
         << " Y -0.022518";
    expected.push_back(move.str());
    EXPECT_EQ(rowBlock(lines, 2), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Differences, HexagonTwoWayEnds,
    ::testing::Values(
        EndCutCase{1, {"MI X 0.013 Y -0.007506", "MI X -0.013 Y 0.007506"},
                   {"MI X -0.013 Y -0.007506", "MI X 0.013 Y 0.007506"}},
        EndCutCase{3, {"HEX3", "MI X 0.013 Y -0.007506", "MI X -0.013 Y 0.007506", "HEX4"},
                   {"HEX4", "MI X -0.013 Y -0.007506", "MI X 0.013 Y 0.007506", "HEX3"}},
        EndCutCase{5,
                   {"SL 2", "HEX3", "EL", "MI X 0.013 Y -0.007506", "MI X -0.013 Y 0.007506", "SL 2", "HEX4", "EL"},
                   {"SL 2", "HEX4", "EL", "MI X -0.013 Y -0.007506", "MI X 0.013 Y 0.007506", "SL 2", "HEX3", "EL"}},
        EndCutCase{7,
                   {"SL 3", "HEX3", "EL", "MI X 0.013 Y -0.007506", "MI X -0.013 Y 0.007506", "SL 3", "HEX4", "EL"},
                   {"SL 3", "HEX4", "EL", "MI X -0.013 Y -0.007506", "MI X 0.013 Y 0.007506", "SL 3", "HEX3", "EL"}}));

TEST(HexagonProgramTwoWay, ShorterRowsAndTheBottomRowGetNoEndCuts)
{
    const auto lines = program(hexagonRows({2, 3, 2}, 0.013f, 0.007506));
    const std::vector<std::string> top = {"# Row 1", "OS", "SL 2", "HEX1", "EL", "SL 2", "HEX2", "EL",
                                          "CS", "WT 0.1", "MI X -0.013 Y -0.022518"};
    EXPECT_EQ(rowBlock(lines, 1), top);
    const std::vector<std::string> bottom = {"# Row 3", "OS", "SL 2", "HEX1", "EL", "SL 2", "HEX2", "EL",
                                             "CS", "WT 0.1"};
    EXPECT_EQ(rowBlock(lines, 3), bottom);
    const std::vector<std::string> final = {"# Final Row", "OS", "SL 2", "HEX3", "EL", "SL 2", "HEX4", "EL",
                                            "CS", "MA X 0.0 Y 0.0", "OFF", "DP TIM", "EI"};
    EXPECT_TRUE(std::equal(final.rbegin(), final.rend(), lines.rbegin()));
}

TEST(HexagonProgramTwoWay, OneRecordIsCutOutAndBackWithoutAMove)
{
    const auto body = programBody(program(hexagonRows({3}, 0.013f, 0.007506)));
    const std::vector<std::string> expected = {
        "MA X -0.039 Y -0.007506", "# Row 1", "OS", "SL 3", "HEX1", "EL", "SL 3", "HEX2", "EL", "CS", "WT 0.1",
        "# Final Row", "OS", "SL 3", "HEX3", "EL", "SL 3", "HEX4", "EL", "CS"};
    EXPECT_EQ(body, expected);
}
