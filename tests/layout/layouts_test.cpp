// SPDX-License-Identifier: GPL-3.0-or-later
// Worked examples and the table invariants of every layout.
#include <gtest/gtest.h>

#include "tests/support/design_helpers.h"
#include "layout/die_layouts.h"

using namespace kerf;
using namespace kerf::testing;

namespace {

std::string text(const Number& n) { return n.text(); }

} // namespace

TEST(CircleLayout, WorkedExample50MilWithGap2)
{
    const Design d = designed("2.0 Inches", "Circle", "50", "2");
    EXPECT_EQ(text(d.layout.DiePitch), "0.052");
    EXPECT_EQ(d.layout.DiePitch.kind(), Number::Kind::Decimal);
    EXPECT_EQ(text(d.layout.RowPitch), "0.045033");
    const LayoutRow& centre = d.layout.RowTable[1];
    EXPECT_EQ(centre.DieCount, 35);
    EXPECT_EQ(text(centre.PosX), "1.741"); // CenterX − 0.884
    EXPECT_EQ(text(centre.PosY), "2.625");
    EXPECT_EQ(centre.PosY.kind(), Number::Kind::Single);
    EXPECT_EQ(text(centre.RelX), "-0.91");
    EXPECT_EQ(text(centre.RelY), "0");
    EXPECT_EQ(d.results, (LayoutResults{"41", "1159", "80.26"}));
}

TEST(CircleLayout, WithoutFineTuneRowsAreDieSizeTimesRootThreeOverTwoApart)
{
    const Design d = designed("4.0 Inches", "Circle", "100");
    EXPECT_EQ(text(d.layout.DiePitch), "0.1");
    EXPECT_EQ(text(d.layout.RowPitch), "0.086603");
    EXPECT_EQ(d.layout.FineTune.kind(), Number::Kind::Integer);
}

TEST(CircleLayout, OnlyTheCentreDieFits)
{
    // Effective radius 0.6, half die 0.35: the neighbours at 0.7 are outside.
    const Design d = designed("2.0 Inches", "Circle", "700", "", "1.2");
    ASSERT_EQ(d.layout.RowTable.upperBound(), 1);
    EXPECT_EQ(d.layout.RowTable[1].DieCount, 1);
    EXPECT_EQ(d.results.rows, "1");
    EXPECT_EQ(d.results.dies, "1");
}

TEST(HexagonLayout, WorkedExample100Mil)
{
    const Design d = designed("2.0 Inches", "Hexagon", "100");
    EXPECT_EQ(text(d.layout.HexHalfSide), "0.028868");
    EXPECT_EQ(d.layout.HexHalfSide.kind(), Number::Kind::Double);
    EXPECT_EQ(text(d.layout.RowPitch), "0.086604");
    EXPECT_EQ(d.layout.DiePitch.kind(), Number::Kind::Single);
    const LayoutRow& centre = d.layout.RowTable[1];
    EXPECT_EQ(centre.DieCount, 17);
    EXPECT_EQ(text(centre.PosX), "1.825"); // CenterX − 0.8
    EXPECT_EQ(text(centre.RelX), "-0.85");
    EXPECT_EQ(text(centre.RelY), "-0.028868");
}

TEST(HexagonLayout, IgnoresTheFineTune)
{
    const Design with = designed("3.0 Inches", "Hexagon", "80", "5");
    const Design without = designed("3.0 Inches", "Hexagon", "80");
    EXPECT_EQ(with.layout.RowTable, without.layout.RowTable);
}

TEST(SquareLayout, WorkedExample100Mil)
{
    const Design d = designed("2.0 Inches", "Square", "100");
    EXPECT_EQ(d.results.rows, "19");
    const LayoutRow& centre = d.layout.RowTable[1];
    EXPECT_EQ(centre.DieCount, 18);
    EXPECT_EQ(text(centre.PosX), "1.725"); // CenterX − 0.9
    EXPECT_EQ(text(centre.RelX), "-0.9");
    EXPECT_EQ(text(centre.RelY), "0");
    const LayoutTable& columns = d.layout.ColumnTable;
    EXPECT_EQ(text(columns[1].RelX), "0");
    EXPECT_EQ(columns[1].PosX.kind(), Number::Kind::Single);
    const int K = (columns.upperBound() + 1) / 2;
    for (int i = 2; i <= K; ++i) {
        EXPECT_GT(columns[i].RelX.toDouble(), 0) << i;
        EXPECT_LE(columns[i].RelY.toDouble(), 0) << i;
    }
}

TEST(SquareLayout, GridPointOnTheCircleIsNotUsable)
{
    // Effective radius 0.5 with a 250-mil grid: the points at 0.5 are outside,
    // so the centre line spans 2 × (0.25 / 0.25) pitches.
    const Design d = designed("2.0 Inches", "Square", "250", "", "1");
    EXPECT_EQ(d.layout.RowTable[1].DieCount, 2 * 1);
    // The line at 0.25 above: points at x = 0, ±0.25 (r ≈ 0.354) fit, ±0.5 do not.
    EXPECT_EQ(d.layout.RowTable[2].DieCount, 2);
}

TEST(SquareLayout, LineWithOnlyItsCentrePointIsStoredWithNoPitches)
{
    // 300-mil grid in a 0.7-inch circle: the centre line reaches ±0.3; the line
    // at 0.3 keeps only x = 0 (r = 0.3), since ±0.3 gives r ≈ 0.424 ≥ 0.35.
    const Design d = designed("2.0 Inches", "Square", "300", "", "0.7");
    ASSERT_EQ(d.layout.RowTable.upperBound(), 3);
    EXPECT_EQ(d.layout.RowTable[1].DieCount, 2);
    EXPECT_EQ(d.layout.RowTable[2].DieCount, 0);
    EXPECT_EQ(d.layout.RowTable[3].DieCount, 0);
    EXPECT_EQ(d.results.rows, "3");
    EXPECT_EQ(d.results.dies, "0");
}

namespace {

void expectTableInvariants(const LayoutTable& table, bool rows, const Number& acrossPitch, const std::string& what)
{
    const int N = table.upperBound();
    ASSERT_EQ(N % 2, 1) << what;
    const int K = (N + 1) / 2;
    const Decimal pitch = acrossPitch.toDecimal();
    for (int j = 1; j <= K - 1; ++j) {
        const LayoutRow& mirror = table[K + j];
        const LayoutRow& source = table[j + 1];
        EXPECT_EQ(mirror.DieCount, source.DieCount) << what << " record " << K + j;
        EXPECT_EQ(rows ? mirror.PosX : mirror.PosY, rows ? source.PosX : source.PosY) << what;
        // Lines above (left of) the centre and below (right of) it are equally far.
        const Decimal centre = (rows ? table[1].PosY : table[1].PosX).toDecimal();
        const Decimal up = (rows ? source.PosY : source.PosX).toDecimal();
        const Decimal down = (rows ? mirror.PosY : mirror.PosX).toDecimal();
        EXPECT_EQ(centre - up, down - centre) << what;
        EXPECT_EQ(down - centre, pitch * j) << what;
    }
}

} // namespace

TEST(LayoutTables, MirrorAndOddnessHoldForEveryShape)
{
    for (auto wafer : WaferSizeItems) {
        for (const char* die : {"30", "75", "150", "333", "900"}) {
            const std::string what = std::string(wafer) + " " + die;
            const Design circle = designed(std::string(wafer), "Circle", die, "3");
            expectTableInvariants(circle.layout.RowTable, true, circle.layout.RowPitch, what + " circle");
            const Design hexagon = designed(std::string(wafer), "Hexagon", die);
            expectTableInvariants(hexagon.layout.RowTable, true, hexagon.layout.RowPitch, what + " hexagon");
            const Design square = designed(std::string(wafer), "Square", die);
            expectTableInvariants(square.layout.RowTable, true, square.layout.RowPitch, what + " square rows");
            expectTableInvariants(square.layout.ColumnTable, false, square.layout.DiePitch, what + " square columns");
            EXPECT_EQ(square.layout.RowTable.upperBound(), square.layout.ColumnTable.upperBound()) << what;

            const int K = (hexagon.layout.RowTable.upperBound() + 1) / 2;
            for (int i = 1; i <= K; ++i)
                EXPECT_EQ(hexagon.layout.RowTable[i].DieCount % 2, i % 2) << what << " hexagon row " << i;
            const int circleK = (circle.layout.RowTable.upperBound() + 1) / 2;
            for (int i = 2; i <= circleK; ++i) {
                const int difference = circle.layout.RowTable[i].DieCount - circle.layout.RowTable[i - 1].DieCount;
                EXPECT_NE(difference % 2, 0) << what << " circle row " << i;
            }
            EXPECT_TRUE(circle.layout.ColumnTable.upperBound() == 0);
        }
    }
}

TEST(LayoutTables, RowsShrinkAwayFromTheCentre)
{
    const Design d = designed("5.0 Inches", "Hexagon", "47");
    const int K = (d.layout.RowTable.upperBound() + 1) / 2;
    for (int i = 3; i <= K; ++i)
        EXPECT_LE(d.layout.RowTable[i].DieCount, d.layout.RowTable[i - 2].DieCount) << i;
}

TEST(LayoutResults, SquareTotalLeavesOutTheFirstRowLine)
{
    WaferLayout layout;
    layout.shape = DieShape::Square;
    layout.EffectiveRadius = 1;
    layout.DieSize = 0.1f;
    layout.RowTable.redim(4);
    const std::int16_t counts[] = {3, 5, 5, 3};
    for (int i = 1; i <= 4; ++i)
        layout.RowTable[i].DieCount = counts[i - 1];
    EXPECT_EQ(dieTotal(layout), 13);
    EXPECT_EQ(layoutResults(layout).rows, "4");
    EXPECT_EQ(layoutResults(layout).dies, "13");
    layout.RowTable = LayoutTable();
    EXPECT_EQ(dieTotal(layout), 0);
}

TEST(LayoutResults, RecordWithNoDiesStillCountsAsARow)
{
    WaferLayout layout;
    layout.shape = DieShape::Circle;
    layout.EffectiveRadius = 1;
    layout.HalfDieSize = 0.05f;
    layout.RowTable.redim(3);
    layout.RowTable[1].DieCount = 0;
    layout.RowTable[2].DieCount = 4;
    layout.RowTable[3].DieCount = 4;
    EXPECT_EQ(layoutResults(layout), (LayoutResults{"3", "8", "2"}));
}

TEST(LayoutResults, UtilisationUsesTheEffectiveRadiusAndTheShapesArea)
{
    const Design circle = designed("2.0 Inches", "Circle", "100", "", "2");
    const double expected = 3.141592654 * 0.05f * 0.05f * std::stoi(circle.results.dies)
                            / (3.141592654 * 1.0 * 1.0) * 100;
    EXPECT_NEAR(std::stod(circle.results.utilisation), expected, 0.005);
}

TEST(LayoutFailures, ZeroPitchIsReportedNotWalked)
{
    WaferLayout layout;
    layout.EffectiveRadius = 1;
    layout.FineTune = Number::ofInteger(0);
    EXPECT_EQ(LayoutCircleDies(layout), LayoutFailure::NoPositivePitch);
    EXPECT_EQ(LayoutSquareRows(layout), LayoutFailure::NoPositivePitch);
    EXPECT_EQ(LayoutHexagonDies(layout), LayoutFailure::NoPositivePitch);
}

TEST(LayoutFailures, SixteenBitLimits)
{
    WaferLayout layout;
    layout.EffectiveDiameter = 5;
    layout.EffectiveRadius = 2.5f;
    layout.DieSize = 0.0001f;
    layout.HalfDieSize = 0.00005f;
    layout.FineTune = Number::ofInteger(0);
    EXPECT_EQ(LayoutSquareRows(layout), LayoutFailure::RowTooLong);
    EXPECT_EQ(LayoutCircleDies(layout), LayoutFailure::RowTooLong);
    // Rows 0.000147 apart: more than 16384 rows above the centre, each short enough.
    layout.DieSize = 0.00017f;
    layout.HalfDieSize = 0.000085f;
    EXPECT_EQ(LayoutCircleDies(layout), LayoutFailure::TooManyRows);
}
