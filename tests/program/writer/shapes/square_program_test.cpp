// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "program/writer/shapes/square_program.h"
#include "tests/support/design_helpers.h"
#include "tests/support/generated_programs.h"
#include "tests/support/program_text.h"

using namespace kerf;
using namespace kerf::testing;

namespace {

// Cut lines of a square grid with this pitch: row lines top to bottom,
// column lines from one side to the other, each given by its length in pitches.
WaferLayout squareLines(float pitch, const std::vector<int>& rows, const std::vector<int>& columns)
{
    WaferLayout layout;
    layout.shape = DieShape::Square;
    layout.texts = {"2.0 Inches", "1.9", "Square", "250", ""};
    layout.DieSize = pitch;
    layout.HalfDieSize = pitch / 2;
    layout.DiePitch = Number::ofSingle(pitch);
    layout.RowPitch = Number::ofSingle(pitch);
    const auto fill = [&](LayoutTable& table, const std::vector<int>& counts, bool isRow) {
        const int n = static_cast<int>(counts.size());
        const int top = (n + 1) / 2;
        table.redim(n);
        for (int i = 0; i < n; ++i) {
            LayoutRow& line = table[i < top ? top - i : i + 1];
            line.DieCount = static_cast<std::int16_t>(counts[static_cast<std::size_t>(i)]);
            const Decimal half = Decimal::fromSingle(pitch) * (line.DieCount / 2);
            const Decimal across = Decimal::fromSingle(pitch) * (top - 1 - i);
            line.RelX = Number::ofDecimal(isRow ? -half : across);
            line.RelY = Number::ofDecimal(isRow ? across : -half);
        }
    };
    fill(layout.RowTable, rows, true);
    fill(layout.ColumnTable, columns, false);
    return layout;
}

std::vector<std::string> program(const WaferLayout& layout, std::int16_t cutCount = 1)
{
    return writtenLines(WriteSquareProgram, layout, cutCount);
}

} // namespace

TEST(SquareProgram, LinesAndTransitionsOfTheWorkedExample)
{
    const auto body = programBody(program(squareLines(0.25f, {6, 8, 8}, {6})));
    const std::vector<std::string> expected = {
        "MA X -0.75 Y 0.25", "# Row Parts",
        "OS", "MI X 1.5", "CS", "MI X 0.25 Y -0.25",
        "OS", "MI X -2.0", "CS", "MI Y -0.25",
        "OS", "MI X 2.0", "CS",
        "MA X 0 Y -0.75", "# Column Parts",
        "OS", "MI Y 1.5", "CS"};
    EXPECT_EQ(body, expected);
}

TEST(SquareProgram, ColumnTransitionsStepAcrossAndAlong)
{
    const auto body = programBody(program(squareLines(0.25f, {2}, {2, 4, 4, 2, 0})));
    const std::vector<std::string> columns(body.begin() + 5, body.end());
    const std::vector<std::string> expected = {
        "MA X 0.5 Y -0.25", "# Column Parts",
        "OS", "MI Y 0.5", "CS", "MI X -0.25 Y 0.25",
        "OS", "MI Y -1.0", "CS", "MI X -0.25",
        "OS", "MI Y 1.0", "CS", "MI X -0.25 Y -0.25",
        "OS", "MI Y -0.5", "CS", "MI X -0.25 Y 0.25",
        "OS", "MI Y 0.0", "CS"};
    EXPECT_EQ(columns, expected);
}

TEST(SquareProgram, OnePassHasNoRepeatBlock)
{
    for (std::int16_t passes : {1, 0, -2}) {
        const auto lines = program(squareLines(0.25f, {6}, {6}), passes);
        EXPECT_EQ(std::count(lines.begin(), lines.end(), "EL"), 0) << passes;
        const std::vector<std::string> tail = {"OS", "MI Y 1.5", "CS", "MA X 0.0 Y 0.0", "OFF", "DP TIM", "EI"};
        EXPECT_TRUE(std::equal(tail.rbegin(), tail.rend(), lines.rbegin())) << passes;
        EXPECT_EQ(lines[17], "MA X -0.75 Y 0") << passes;
    }
}

TEST(SquareProgram, ThreePassesRepeatBothPartsAndReturnToTheOrigin)
{
    const auto lines = program(squareLines(0.25f, {6}, {6}), 3);
    EXPECT_EQ(lines[16], "# MAIN PROGRAM");
    EXPECT_EQ(lines[17], "SL 3");
    const std::vector<std::string> tail = {"CS", "MA X 0.0 MA Y 0.0", "EL", "MA X 0.0 Y 0.0", "OFF", "DP TIM", "EI"};
    EXPECT_TRUE(std::equal(tail.rbegin(), tail.rend(), lines.rbegin()));
}

TEST(SquareProgram, WholeInchesUseThePatternAndThePlainPitchItsOwnText)
{
    const auto body = programBody(program(designedLayout("5.0 Inches", "Square", "1000")));
    EXPECT_TRUE(containsLines(body, {"OS", "MI X 4.0", "CS", "MI Y -1"}));
    EXPECT_TRUE(containsLines(body, {"OS", "MI Y 4.0", "CS", "MI X -1"}));
}

TEST(SquareProgram, DesignedLayoutVisitsEveryLineOnce)
{
    const WaferLayout layout = designedLayout("2.0 Inches", "Square", "100");
    const auto body = programBody(program(layout));
    EXPECT_EQ(std::count(body.begin(), body.end(), "OS"),
              layout.RowTable.upperBound() + layout.ColumnTable.upperBound());
    EXPECT_EQ(body.front(), "MA X " + layout.RowTable[layout.RowTable.upperBound() / 2 + 1].RelX.text() + " Y " +
                                layout.RowTable[layout.RowTable.upperBound() / 2 + 1].RelY.text());
}
