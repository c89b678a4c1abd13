// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "program/writer/shapes/circle_program.h"
#include "tests/support/design_helpers.h"
#include "tests/support/generated_programs.h"
#include "tests/support/program_text.h"

using namespace kerf;
using namespace kerf::testing;

namespace {

// A circle layout of 100-mil dies with a 2-mil fine-tune whose rows, top to
// bottom, hold these counts.
WaferLayout circleRows(const std::vector<int>& countsTopToBottom)
{
    WaferLayout layout;
    layout.shape = DieShape::Circle;
    layout.texts = {"2.0 Inches", "1.9", "Circle", "100", "2"};
    layout.DieSize = 0.1f;
    layout.HalfDieSize = 0.05f;
    layout.DiePitch = Number::ofDecimal(*Decimal::parse("0.102"));
    layout.RowPitch = Number::ofDecimal(*Decimal::parse("0.088335"));
    const int rows = static_cast<int>(countsTopToBottom.size());
    const int top = (rows + 1) / 2;
    layout.RowTable.redim(rows);
    for (int i = 0; i < rows; ++i) {
        LayoutRow& row = layout.RowTable[i < top ? top - i : i + 1];
        row.DieCount = static_cast<std::int16_t>(countsTopToBottom[static_cast<std::size_t>(i)]);
        row.RelX = Number::ofDecimal(*Decimal::parse("-0.153"));
        row.RelY = Number::ofDecimal(*Decimal::parse("0.088335") * (top - 1 - i));
    }
    return layout;
}

std::vector<std::string> program(const WaferLayout& layout, std::int16_t cutCount = 1)
{
    return writtenLines(WriteCircleProgram, layout, cutCount);
}

} // namespace

TEST(CircleProgram, SubroutinesOfTheWorkedFragment)
{
    const auto lines = program(designedLayout("2.0 Inches", "Circle", "100", "2"));
    const std::vector<std::string> units = {
        "PN CIR1", "DI 1 10000", "II", "# 2004/03/05", "# First Circle Subroutine", "OS",
        "MI X 0.05 Y 0.0 ARC -360.0 VEL 0.6 ACC 6.0", "CS", "WT 0.1", "MI X 0.102", "EI", "",
        "PN CIR2", "DI 1 10000", "II", "# 2004/03/05", "# Second Circle Subroutine", "OS",
        "MI X 0.05 Y 0.0 ARC -360.0 VEL 0.6 ACC 6.0", "CS", "WT 0.1", "MI X -0.102", "EI", "",
        "PN job"};
    ASSERT_GE(lines.size(), units.size());
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 25), units);
}

TEST(CircleProgram, TransitionsOfTheWorkedFragment)
{
    const auto body = programBody(program(circleRows({3, 4, 3})));
    const std::vector<std::string> expected = {
        "MA X -0.153 Y 0.088335",
        "# Row 1", "SL 3", "CIR1", "EL", "MI X -0.051 Y -0.088335",
        "# Row 2", "SL 4", "CIR2", "EL", "MI X 0.153 Y -0.088335",
        "# Row 3", "SL 3", "CIR1", "EL"};
    EXPECT_EQ(body, expected);
}

TEST(CircleProgram, ThreeRecordsAreCutInTheOrderTwoOneThree)
{
    WaferLayout layout = circleRows({3, 4, 3});
    layout.RowTable[2].DieCount = 5; // top
    layout.RowTable[1].DieCount = 6; // centre
    layout.RowTable[3].DieCount = 7; // bottom
    const auto body = programBody(program(layout));
    EXPECT_TRUE(containsLines(body, {"# Row 1", "SL 5", "CIR1", "EL"}));
    EXPECT_TRUE(containsLines(body, {"# Row 2", "SL 6", "CIR2", "EL"}));
    EXPECT_TRUE(containsLines(body, {"# Row 3", "SL 7", "CIR1", "EL"}));
}

TEST(CircleProgram, OneRecordHasNoTransition)
{
    const auto lines = program(circleRows({1}));
    const std::vector<std::string> body = {"MA X -0.153 Y 0", "# Row 1", "SL 1", "CIR1", "EL"};
    EXPECT_EQ(programBody(lines), body);
    EXPECT_EQ(lines.back(), "EI");
}

TEST(CircleProgram, EqualNeighboursGetNoTransition)
{
    const auto body = programBody(program(circleRows({4, 4, 4})));
    EXPECT_EQ(std::count_if(body.begin(), body.end(), [](const std::string& l) { return l.rfind("MI", 0) == 0; }),
              0);
}

TEST(CircleProgram, LastRowIsFollowedByTheTrailer)
{
    const auto lines = program(designedLayout("2.0 Inches", "Circle", "100", "2"));
    ASSERT_GE(lines.size(), 5u);
    EXPECT_EQ(lines[lines.size() - 5], "EL");
    EXPECT_EQ(lines[lines.size() - 4], "MA X 0.0 Y 0.0");
}

TEST(CircleProgram, RowsAreCutTopToBottomOneRowPitchApart)
{
    const WaferLayout layout = designedLayout("4.0 Inches", "Circle", "47", "3");
    const auto body = programBody(program(layout));
    int rows = 0;
    for (const std::string& line : body) {
        if (line.rfind("# Row ", 0) == 0) {
            EXPECT_EQ(line, "# Row " + std::to_string(++rows));
        }
        if (line.rfind("MI X ", 0) == 0) {
            EXPECT_TRUE(line.ends_with(" Y -" + layout.RowPitch.text())) << line;
        }
    }
    EXPECT_EQ(rows, layout.RowTable.upperBound());
}

struct AngleCase {
    std::int16_t passes;
    const char* angle;
};

void PrintTo(const AngleCase& c, std::ostream* out) { *out << c.passes << " passes"; }

class CircleAngle : public ::testing::TestWithParam<AngleCase> {};

TEST_P(CircleAngle, IsThePassCountTimes360InFullWidth)
{
    const auto lines = program(circleRows({1}), GetParam().passes);
    EXPECT_EQ(lines[6], std::string("MI X 0.05 Y 0.0 ARC ") + GetParam().angle + " VEL 0.6 ACC 6.0");
}

INSTANTIATE_TEST_SUITE_P(Passes, CircleAngle,
                         ::testing::Values(AngleCase{0, "-.0"}, AngleCase{1, "-360.0"}, AngleCase{2, "-720.0"},
                                           AngleCase{3, "-1080.0"}, AngleCase{91, "-32760.0"},
                                           AngleCase{92, "-33120.0"}, AngleCase{999, "-359640.0"}));
