// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "program/writer/shapes/hexagon_program_one_way.h"
#include "program/writer/shapes/hexagon_row_move.h"
#include "numbers/number_text.h"
#include "tests/support/design_helpers.h"
#include "tests/support/generated_programs.h"
#include "tests/support/program_text.h"

using namespace kerf;
using namespace kerf::testing;

namespace {

const HexagonSteps k26Mil{0.013f, 0.007506};

struct MoveCase {
    const char* name;
    RowParity parity;
    RowMoveCounts counts;
    const char* line;
};

void PrintTo(const MoveCase& c, std::ostream* out) { *out << c.name; }

class HexagonRowMove : public ::testing::TestWithParam<MoveCase> {};

} // namespace

TEST_P(HexagonRowMove, JoinsTheRowsEndToTheNextRowsStart)
{
    EXPECT_EQ(WriteHexagonRowMove(k26Mil, GetParam().parity, GetParam().counts), GetParam().line);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HexagonRowMove,
    ::testing::Values(
        // The cases the usual layouts give.
        MoveCase{"LongerThanNextNextHasNoEntryCuts", RowParity::Odd, {9, 8, 9}, "MI Y -0.015012"},
        MoveCase{"LongerThanNextBeforeTheLastRow", RowParity::Even, {9, 6, std::nullopt}, "MI Y -0.015012"},
        MoveCase{"ShrinkingByOneThenOne", RowParity::Odd, {9, 8, 7}, "MI X -0.013 Y -0.022518"},
        MoveCase{"ShrinkingByOneThenOneEven", RowParity::Even, {9, 8, 7}, "MI X 0.013 Y -0.022518"},
        MoveCase{"ShrinkingByOneThenThree", RowParity::Odd, {9, 8, 5}, "MI X -0.039 Y -0.022518"},
        MoveCase{"ShrinkingByOneThenThreeEven", RowParity::Even, {9, 8, 5}, "MI X 0.039 Y -0.022518"},
        MoveCase{"ShorterThanTheCentreRow", RowParity::Odd, {8, 9, 8}, "MI Y -0.030024"},
        MoveCase{"GrowingTowardsTheCentre", RowParity::Odd, {5, 6, 7}, "MI X 0.013 Y -0.022518"},
        MoveCase{"GrowingByThreeTowardsTheCentre", RowParity::Even, {5, 8, 9}, "MI X -0.039 Y -0.022518"},
        // Rows shorter than both neighbours: 1, 4, 3 and 3, 4, 1 of the 400-mil layout.
        MoveCase{"ShortRowBeforeALongerRowThatShrinksByOne", RowParity::Odd, {1, 4, 3}, "MI X 0.026 Y -0.030024"},
        MoveCase{"ShortRowBeforeALongerRowThatShrinksByThree", RowParity::Odd, {3, 4, 1},
                 "MI X -0.026 Y -0.030024"},
        MoveCase{"ShortEvenRowBeforeALongerRowThatShrinksByOne", RowParity::Even, {1, 4, 3},
                 "MI X -0.026 Y -0.030024"},
        MoveCase{"ShortEvenRowBeforeALongerRowThatShrinksByThree", RowParity::Even, {3, 4, 1},
                 "MI X 0.026 Y -0.030024"},
        MoveCase{"ShortRowBeforeALongerRowThatShrinksByFive", RowParity::Odd, {2, 5, 0}, "MI X -0.026 Y -0.030024"},
        // A row longer by three before a row that grows again by one.
        MoveCase{"LongerByThreeBeforeARowThatGrows", RowParity::Odd, {9, 6, 7}, "MI Y -0.015012"},
        MoveCase{"EqualRows", RowParity::Odd, {4, 4, 4}, "MI Y -0.022518"}),
    [](const auto& info) { return std::string(info.param.name); });

namespace {

// A point of a row in units of a and h from the lower-left corner of its
// leftmost die, where the row's table record puts it.
struct Point {
    int x;
    int y;
};

// Where a row cut left to right starts, by its die-count difference to the
// row cut after it (the bottom corner of the leftmost die, of die k + 1, or
// the lower-left corner); a row cut right to left ends there too.
Point leftEnd(int diff)
{
    const int k = diff > 1 ? static_cast<int>(std::nearbyint((diff - 1) / 2.0)) : 0;
    if (diff == 1)
        return {1, -1};
    if (k > 0)
        return {2 * k + 1, -1};
    return {0, 0};
}

// The same point at the row's right end.
Point rightEnd(int diff, int dies)
{
    const Point p = leftEnd(diff);
    return {2 * dies - p.x, p.y};
}

} // namespace

// Every move between rows of real layouts, set against the start and end
// points of the rows as their table records place them.
TEST(HexagonRowMove, JoinsEndAndStartPointsOfDesignedLayouts)
{
    int layouts = 0;
    int uncovered = 0;
    for (const char* wafer : {"2.0 Inches", "2.5 Inches", "3.0 Inches", "4.0 Inches", "5.0 Inches"}) {
        for (int mil = 40; mil <= 700; mil += 7) {
            const WaferLayout layout = designedLayout(wafer, "Hexagon", std::to_string(mil));
            if (layout.RowTable.upperBound() < 1)
                continue;
            ++layouts;
            std::ostringstream out;
            WriteHexagonProgramOneWay(out, layout, defaultParameters(layout));
            const auto lines = programLines(out.str());

            const LayoutTable& rows = layout.RowTable;
            const int n = rows.upperBound();
            const int top = (n + 1) / 2;
            std::vector<int> order;
            for (int r = top; r >= 1; --r)
                order.push_back(r);
            for (int r = top + 1; r <= n; ++r)
                order.push_back(r);
            const Decimal a = Decimal::fromSingle(layout.HalfDieSize);
            const double h = layout.HexHalfSide.toDouble();

            std::size_t line = 0;
            for (std::size_t i = 0; i + 1 < order.size(); ++i) {
                const auto diffOf = [&](std::size_t j) {
                    return j + 1 < order.size() ? rows[order[j]].DieCount - rows[order[j + 1]].DieCount : 0;
                };
                const bool odd = i % 2 == 0;
                const LayoutRow& cut = rows[order[i]];
                const LayoutRow& next = rows[order[i + 1]];
                const Point end = odd ? rightEnd(diffOf(i), cut.DieCount) : leftEnd(diffOf(i));
                const Point start = odd ? rightEnd(diffOf(i + 1), next.DieCount) : leftEnd(diffOf(i + 1));
                // The records' own corners: whole multiples of a across, 3h down.
                const Decimal across = next.RelX.toDecimal() - cut.RelX.toDecimal();
                const long cornerSteps = std::lround(across.toDouble() / a.toDouble());
                ASSERT_EQ(across, a * cornerSteps) << wafer << " " << mil;
                ASSERT_EQ(next.RelY.toDecimal() - cut.RelY.toDecimal(), -layout.RowPitch.toDecimal());
                const int dx = static_cast<int>(cornerSteps) + start.x - end.x;
                const int dy = -3 + start.y - end.y;
                const std::string expected =
                    dx == 0 ? "MI Y " + doubleText(dy * h)
                            : "MI X " + singleText(static_cast<float>(double(layout.HalfDieSize) * dx)) + " Y " +
                                  doubleText(dy * h);

                const std::string comment = "# Row " + std::to_string(i + 2);
                while (line < lines.size() && lines[line] != comment)
                    ++line;
                ASSERT_LT(line, lines.size());
                EXPECT_EQ(lines[line - 1], expected) << wafer << " " << mil << " mil, after row " << i + 1;
                const int A = diffOf(i);
                const int B = i + 2 < order.size() ? cut.DieCount - rows[order[i + 2]].DieCount : 0;
                if (A < 0 && B != 0 && B - A > 0)
                    ++uncovered;
            }
        }
    }
    EXPECT_GT(layouts, 400);
    EXPECT_GT(uncovered, 0); // the rows shorter than both neighbours do occur
}
