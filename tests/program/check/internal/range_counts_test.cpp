// SPDX-License-Identifier: GPL-3.0-or-later
// The counts over ranges of pieces that every shape's check keeps: against a
// plain count per piece, through many merges.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "program/check/internal/range_counts.h"

using namespace kerf::cutcheck;

namespace {

TEST(RangeCounts, GiveTheCountOfEveryPieceThroughManyMerges)
{
    std::mt19937 random(7);
    for (const Index pieces : {Index(1), Index(5), Index(300)}) {
        RangeCounts counts;
        std::vector<std::int64_t> plain(static_cast<std::size_t>(pieces), 0);
        std::uniform_int_distribution<Index> piece(0, pieces - 1);
        // Far more cuts than the events a list keeps before it merges.
        for (int k = 0; k < 5000; ++k) {
            Index from = piece(random), to = piece(random);
            if (from > to)
                std::swap(from, to);
            const std::int64_t times = 1 + k % 3;
            counts.add(from, to + 1, times, pieces);
            for (Index p = from; p <= to; ++p)
                plain[static_cast<std::size_t>(p)] += times;
            ASSERT_LE(counts.events().size(), EventsPerPiece * static_cast<std::size_t>(pieces) + EventSlack + 2);
        }
        Index covered = 0;
        counts.forEachRange(0, pieces, [&](Index from, Index to, std::int64_t c) {
            EXPECT_EQ(from, covered);
            EXPECT_LT(from, to);
            for (Index p = from; p < to; ++p)
                EXPECT_EQ(c, plain[static_cast<std::size_t>(p)]) << pieces << " piece " << p;
            covered = to;
        });
        EXPECT_EQ(covered, pieces);
    }
}

TEST(RangeCounts, CoverAStretchThatStartsPastZeroAndCountNothingOutsideTheCuts)
{
    RangeCounts counts;
    counts.add(12, 14, 2, 10);
    std::vector<std::int64_t> seen;
    std::vector<Index> starts;
    counts.forEachRange(10, 16, [&](Index from, Index, std::int64_t c) {
        starts.push_back(from);
        seen.push_back(c);
    });
    EXPECT_EQ(starts, (std::vector<Index>{10, 12, 14}));
    EXPECT_EQ(seen, (std::vector<std::int64_t>{0, 2, 0}));
    // Cuts that cancel leave no event behind.
    counts.add(12, 14, -2, 10);
    counts.merge();
    EXPECT_TRUE(counts.events().empty());
}

} // namespace
