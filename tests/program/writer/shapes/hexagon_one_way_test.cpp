// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "program/writer/shapes/hexagon_program_one_way.h"
#include "tests/support/design_helpers.h"
#include "tests/support/generated_programs.h"
#include "tests/support/program_text.h"

using namespace kerf;
using namespace kerf::testing;

namespace {

std::vector<std::string> program(const WaferLayout& layout)
{
    return writtenLines(WriteHexagonProgramOneWay, layout, 1);
}

// The move written after each row but the last, in row order.
std::vector<std::string> rowMoves(const std::vector<std::string>& lines)
{
    std::vector<std::string> moves;
    for (std::size_t i = 1; i + 1 < lines.size(); ++i)
        if (lines[i - 1] == "WT 0.1" && lines[i] != "# Final Row")
            moves.push_back(lines[i]);
    return moves;
}

} // namespace

TEST(HexagonProgramOneWay, FourHundredMilOnTwoInchesMovesFromShortRowsToTheNextStart)
{
    // Rows of 1, 4, 3, 4, 1 dies: rows 1 and 3 are shorter than both neighbours.
    const auto lines = program(designedLayout("2.0 Inches", "Hexagon", "400"));
    const std::vector<std::string> expected = {"MI X 0.4 Y -0.46188", "MI Y -0.23094", "MI X -0.4 Y -0.46188",
                                               "MI Y -0.23094"};
    EXPECT_EQ(rowMoves(lines), expected);
}

TEST(HexagonProgramOneWay, OddRowsRunRightwardsAndEvenRowsLeftwards)
{
    const WaferLayout layout = designedLayout("4.0 Inches", "Hexagon", "100");
    const auto lines = program(layout);
    const int rows = layout.RowTable.upperBound();
    ASSERT_EQ(rows % 2, 1);
    for (int rowNo = 1; rowNo <= rows; ++rowNo) {
        const auto block = rowBlock(lines, rowNo);
        const bool odd = rowNo % 2 == 1;
        EXPECT_NE(std::find(block.begin(), block.end(), odd ? "HEX1" : "HEX2"), block.end()) << rowNo;
        EXPECT_EQ(std::find(block.begin(), block.end(), odd ? "HEX2" : "HEX1"), block.end()) << rowNo;
        const std::size_t wait = rowNo == rows ? block.size() - 1 : block.size() - 2;
        EXPECT_EQ(block[wait - 1], "CS") << rowNo;
        EXPECT_EQ(block[wait], "WT 0.1") << rowNo;
    }
}

struct OneWayEndCase {
    int diff;
    std::vector<std::string> oddRow;  // the whole block of an odd row, without its move
    std::vector<std::string> evenRow; // the same for an even row
};

void PrintTo(const OneWayEndCase& c, std::ostream* out) { *out << "diff " << c.diff; }

class HexagonOneWayEnds : public ::testing::TestWithParam<OneWayEndCase> {};

TEST_P(HexagonOneWayEnds, CutEachEndOnTheWay)
{
    const OneWayEndCase& c = GetParam();
    // Odd row 3 (the centre row) and even row 2 above it, each `diff` longer than the row cut after it.
    const int centre = 4 + c.diff;
    const int second = centre + c.diff;
    const auto lines = program(hexagonRows({1, second, centre, 4, 1}, 0.013f, 0.007506));
    auto odd = rowBlock(lines, 3);
    odd.pop_back();
    EXPECT_EQ(odd, c.oddRow);
    auto even = rowBlock(lines, 2);
    even.pop_back();
    EXPECT_EQ(even, c.evenRow);
}

namespace {

std::vector<std::string> block(const char* row, std::vector<std::string> entry, const std::string& dies,
                               const char* unit, std::vector<std::string> exit)
{
    std::vector<std::string> lines = {row, "OS"};
    lines.insert(lines.end(), entry.begin(), entry.end());
    lines.insert(lines.end(), {"SL " + dies, unit, "EL"});
    lines.insert(lines.end(), exit.begin(), exit.end());
    lines.insert(lines.end(), {"CS", "WT 0.1"});
    return lines;
}

} // namespace

INSTANTIATE_TEST_SUITE_P(
    Differences, HexagonOneWayEnds,
    ::testing::Values(
        OneWayEndCase{1,
                      block("# Row 3", {"MI X -0.013 Y 0.007506"}, "5", "HEX1", {"MI X -0.013 Y -0.007506"}),
                      block("# Row 2", {"MI X 0.013 Y 0.007506"}, "6", "HEX2", {"MI X 0.013 Y -0.007506"})},
        OneWayEndCase{3,
                      block("# Row 3", {"MI X -0.013 Y 0.007506", "HEX4"}, "7", "HEX1",
                            {"HEX4", "MI X -0.013 Y -0.007506"}),
                      block("# Row 2", {"MI X 0.013 Y 0.007506", "HEX3"}, "10", "HEX2",
                            {"HEX3", "MI X 0.013 Y -0.007506"})},
        OneWayEndCase{5,
                      block("# Row 3", {"MI X -0.013 Y 0.007506", "SL 2", "HEX4", "EL"}, "9", "HEX1",
                            {"SL 2", "HEX4", "EL", "MI X -0.013 Y -0.007506"}),
                      block("# Row 2", {"MI X 0.013 Y 0.007506", "SL 2", "HEX3", "EL"}, "14", "HEX2",
                            {"SL 2", "HEX3", "EL", "MI X 0.013 Y -0.007506"})}));

TEST(HexagonProgramOneWay, BottomRowIsCutOnceMoreLeftwardsByTheFinalRow)
{
    const auto lines = program(hexagonRows({2, 3, 2}, 0.013f, 0.007506));
    const std::vector<std::string> bottom = {"# Row 3", "OS", "SL 2", "HEX1", "EL", "CS", "WT 0.1"};
    EXPECT_EQ(rowBlock(lines, 3), bottom);
    const std::vector<std::string> final = {"# Final Row", "OS", "SL 2", "HEX4", "EL", "CS",
                                            "MA X 0.0 Y 0.0", "OFF", "DP TIM", "EI"};
    EXPECT_TRUE(std::equal(final.rbegin(), final.rend(), lines.rbegin()));
}

TEST(HexagonProgramOneWay, ThreeRecordsMoveToTheBottomRowsCorner)
{
    // After the centre row the next row is the last one: B is 0.
    const auto lines = program(hexagonRows({2, 3, 2}, 0.013f, 0.007506));
    const std::vector<std::string> moves = {"MI Y -0.030024", "MI Y -0.015012"};
    EXPECT_EQ(rowMoves(lines), moves);
}

TEST(HexagonProgramOneWay, OneRecordIsCutOnceEachWayWithoutAMove)
{
    const auto body = programBody(program(hexagonRows({3}, 0.013f, 0.007506)));
    const std::vector<std::string> expected = {"MA X -0.039 Y -0.007506", "# Row 1", "OS", "SL 3", "HEX1", "EL",
                                               "CS", "WT 0.1", "# Final Row", "OS", "SL 3", "HEX4", "EL", "CS"};
    EXPECT_EQ(body, expected);
}
