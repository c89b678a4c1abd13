// SPDX-License-Identifier: GPL-3.0-or-later
// The lattice pieces the cut check stands on: the snap of a value to its
// nearest lattice position, and the index of things by lattice position.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "program/check/internal/lattice.h"
#include "program/check/internal/lattice_index.h"

using namespace kerf::cutcheck;

namespace {

TEST(LatticeSnap, FindsTheNearestPositionAndHowFarTheValueLies)
{
    const LatticeAxis axis(0.25);
    const LatticeSnap on = axis.snap(0.75);
    EXPECT_TRUE(on.valid);
    EXPECT_EQ(on.index, 3);
    EXPECT_EQ(on.offset, 0);
    const LatticeSnap near = axis.snap(-0.76);
    EXPECT_TRUE(near.valid);
    EXPECT_EQ(near.index, -3);
    EXPECT_NEAR(near.offset, 0.04, 1e-12);
    EXPECT_NEAR(axis.inches(near), 0.01, 1e-12);
}

TEST(LatticeSnap, MatchesRoundingOverManyValuesOfBothSigns)
{
    std::mt19937_64 random(11);
    std::uniform_real_distribution<double> value(-1e6, 1e6);
    for (int k = 0; k < 100000; ++k) {
        const double v = value(random);
        const LatticeSnap s = snapToLattice(v, 1.0);
        ASSERT_TRUE(s.valid) << v;
        ASSERT_LE(s.offset, 0.5) << v;
        ASSERT_EQ(static_cast<double>(s.index), std::nearbyint(v)) << v;
        ASSERT_EQ(s.offset, std::abs(v - std::nearbyint(v))) << v;
    }
}

TEST(LatticeSnap, HalvesGoToTheEvenPositionSoThatARowKeepsItsSpanAcrossTheCentre)
{
    // A row half a step off its lattice, two columns a die, from left of the
    // centre to right of it: its ends stay an even number of columns apart.
    EXPECT_EQ(snapToLattice(-0.5, 1).index, 0);
    EXPECT_EQ(snapToLattice(1.5, 1).index, 2);
    EXPECT_EQ(snapToLattice(-1.5, 1).index, -2);
    EXPECT_EQ(snapToLattice(2.5, 1).index, 2);
    EXPECT_EQ(snapToLattice(1.5, 1).index - snapToLattice(-0.5, 1).index, 2);
}

TEST(LatticeSnap, RefusesValuesFarOutsideAnyWaferAndNonNumbers)
{
    EXPECT_FALSE(snapToLattice(FarLattice, 1).valid);
    EXPECT_FALSE(snapToLattice(-FarLattice, 1).valid);
    EXPECT_FALSE(snapToLattice(1e300, 1e300).valid);
    EXPECT_FALSE(snapToLattice(std::numeric_limits<double>::quiet_NaN(), 1).valid);
    EXPECT_FALSE(snapToLattice(std::numeric_limits<double>::infinity(), 1).valid);
    // Just inside the bound the position is still exact.
    const LatticeSnap inside = snapToLattice(FarLattice - 1, 1);
    EXPECT_TRUE(inside.valid);
    EXPECT_EQ(inside.index, static_cast<Index>(FarLattice) - 1);
    // A step that is no positive number snaps everything to 0.
    const LatticeAxis none(0);
    EXPECT_EQ(none.inverse, 0);
    EXPECT_TRUE(none.snap(123.4).valid);
    EXPECT_EQ(none.snap(123.4).index, 0);
}

TEST(LatticeIndex, FindsEachThingAtItsPositionAndNoneElsewhere)
{
    const std::vector<Index> positions = {-3, 4, 0, 7};
    LatticeIndex index;
    ASSERT_TRUE(index.cover(-3, 7, positions.size()));
    EXPECT_EQ(index.lowest(), -3);
    EXPECT_EQ(index.span(), 11);
    for (std::size_t k = 0; k < positions.size(); ++k)
        index.keepFirst(positions[k], k);
    for (std::size_t k = 0; k < positions.size(); ++k)
        EXPECT_EQ(index.at(positions[k]), static_cast<std::int32_t>(k));
    for (const Index empty : {-2, 1, 5, 6})
        EXPECT_EQ(index.at(empty), LatticeIndex::None) << empty;
    // Just past either end, and far past: none, with no reach outside the table.
    for (const Index off : {Index(-4), Index(8), Index(-1) << 40, Index(1) << 40})
        EXPECT_EQ(index.at(off), LatticeIndex::None) << off;
    const std::vector<char> things = {'a', 'b', 'c', 'd'};
    EXPECT_EQ(*index.in(std::span(things), 0), 'c');
    EXPECT_EQ(index.in(std::span(things), 1), nullptr);
}

TEST(LatticeIndex, KeepsTheFirstOrTheLastOfThingsThatShareAPosition)
{
    LatticeIndex first, last;
    ASSERT_TRUE(first.cover(0, 2, 3));
    ASSERT_TRUE(last.cover(0, 2, 3));
    for (std::size_t k = 0; k < 3; ++k) {
        first.keepFirst(1, k);
        last.put(1, k);
    }
    EXPECT_EQ(first.at(1), 0);
    EXPECT_EQ(last.at(1), 2);
}

TEST(LatticeIndex, CoversNothingWhenThePositionsSpreadOutOfProportion)
{
    LatticeIndex index;
    // Two things a million positions apart: no table of a million slots.
    EXPECT_FALSE(index.cover(0, 1'000'000, 2));
    EXPECT_TRUE(index.empty());
    EXPECT_EQ(index.span(), 0);
    EXPECT_EQ(index.at(0), LatticeIndex::None);
    // The largest span still in proportion, and one more.
    const Index most = SpanPerItem * 10 + SpanSlack;
    EXPECT_TRUE(index.cover(5, 5 + most - 1, 10));
    EXPECT_EQ(index.span(), most);
    EXPECT_FALSE(index.cover(5, 5 + most, 10));
    // A highest below the lowest covers nothing.
    EXPECT_FALSE(index.cover(3, 1, 10));
    EXPECT_TRUE(inProportion(0, 0));
    EXPECT_FALSE(inProportion(-1, 5));
}

} // namespace
