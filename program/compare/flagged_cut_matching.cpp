// SPDX-License-Identifier: GPL-3.0-or-later
#include "program/compare/flagged_cut_matching.h"

#include <algorithm>
#include <cmath>

namespace kerf {

namespace {

bool near(const ProgramPoint& p, const ProgramPoint& q, double tolerance)
{
    return std::abs(p.x - q.x) <= tolerance && std::abs(p.y - q.y) <= tolerance;
}

bool samePlace(const FlaggedCut& a, const FlaggedCut& b, double tolerance)
{
    return (near(a.from, b.from, tolerance) && near(a.to, b.to, tolerance)) ||
           (near(a.from, b.to, tolerance) && near(a.to, b.from, tolerance));
}

double leftEnd(const FlaggedCut& cut) { return std::min(cut.from.x, cut.to.x); }

} // namespace

std::vector<FlaggedCut> unmatchedCuts(const std::vector<FlaggedCut>& mine, const std::vector<FlaggedCut>& theirs,
                                      double tolerance, std::size_t listLimit, std::int64_t& count)
{
    // Theirs by their left ends: a cut of mine looks only at those whose left
    // end lies within the tolerance of its own.
    std::vector<std::size_t> order(theirs.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(),
              [&](std::size_t i, std::size_t j) { return leftEnd(theirs[i]) < leftEnd(theirs[j]); });
    std::vector<bool> taken(theirs.size(), false);
    std::vector<FlaggedCut> unmatched;
    count = 0;
    for (const FlaggedCut& cut : mine) {
        const double left = leftEnd(cut);
        auto at = std::lower_bound(order.begin(), order.end(), left - tolerance,
                                   [&](std::size_t i, double x) { return leftEnd(theirs[i]) < x; });
        bool matched = false;
        for (; at != order.end() && leftEnd(theirs[*at]) <= left + tolerance; ++at)
            if (!taken[*at] && samePlace(cut, theirs[*at], tolerance)) {
                taken[*at] = true;
                matched = true;
                break;
            }
        if (matched)
            continue;
        ++count;
        if (unmatched.size() < listLimit)
            unmatched.push_back(cut);
    }
    return unmatched;
}

} // namespace kerf
