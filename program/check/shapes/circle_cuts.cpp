// SPDX-License-Identifier: GPL-3.0-or-later
#include "program/check/shapes/circle_cuts.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "program/check/internal/cut_histogram.h"
#include "program/check/internal/run_levels.h"

namespace kerf::cutcheck {

CircleCuts::CircleCuts(const WaferLayout& layout, CheckState& state)
    : state_(state), shift_(layout.FineTune.toDecimal().half().toDouble()),
      radius_(Decimal::fromSingle(layout.HalfDieSize).toDouble()), ax_(layout.DiePitch.toDecimal().half().toDouble()),
      ay_(layout.RowPitch.toDecimal().toDouble()), grid_(layout, ax_, ay_, state.report.latticeDeviation),
      turns_(grid_.rows().size())
{
}

bool CircleCuts::cutRun(const Motion& first, ProgramPoint step, std::uint64_t copies)
{
    // A step across the rows lands the last copy in another row (checked below).
    if (first.kind != MotionKind::Arc || copies < 2)
        return false;
    const double pitch = 2 * ax_.step;
    const double direction = step.x > 0 ? 1 : -1;
    // The step is one pitch, closely enough that the last copy lands on its lattice point too.
    if (std::abs(step.x - direction * pitch) * static_cast<double>(copies) > state_.tolerance)
        return false;
    const Motion last = lastCopy(first, step, copies);
    const std::optional<ArcOnDie> arc = aboutDie(first);
    if (!arc || arc->rest > 0 || arc->turns == 0)
        return false; // parts of turns are kept one by one
    const std::optional<ArcOnDie> arcLast = aboutDie(last);
    if (!arcLast || arc->row != arcLast->row ||
        std::abs(arcLast->die - arc->die) + 1 != static_cast<Index>(std::min<std::uint64_t>(copies, MostRunCopies)))
        return false;
    // An arc's reach is convex along the row: the end copies reach farthest.
    if (!state_.arcsWithin(first, last, allowance()))
        return false;
    state_.matched(std::max(arc->deviation, arcLast->deviation));
    count(*arc->row, std::min(arc->die, arcLast->die), std::max(arc->die, arcLast->die) + 1, arc->turns);
    return true;
}

void CircleCuts::part(const Motion& m, const ArcOnDie& arc)
{
    constexpr double turn = 2 * std::numbers::pi;
    // Where the arc starts, in turns from the +X direction about its centre.
    double start = std::atan2(m.from.y - m.centre.y, m.from.x - m.centre.x) / turn;
    if (m.sweepDegrees < 0)
        start -= arc.rest; // clockwise: the part ends where the arc starts
    start -= std::floor(start);
    const auto k = static_cast<std::uint64_t>(arc.row - grid_.rows().data());
    const std::uint64_t element = (k << 32) | static_cast<std::uint64_t>(arc.die);
    const auto times = static_cast<std::int64_t>(std::min<std::uint64_t>(state_.times, MostTurns));
    const double end = start + arc.rest;
    bool kept = parts_.add(element, start, std::min(end, 1.0), times);
    if (end > 1)
        kept = kept && parts_.add(element, 0, end - 1, times);
    if (!kept)
        state_.beyondBounds();
}

void CircleCuts::settleParts()
{
    if (partsSettled_)
        return;
    partsSettled_ = true;
    const auto& rows = grid_.rows();
    parts_.forEachCovered(state_.tolerance / (2 * std::numbers::pi * radius_),
                          [&](std::uint64_t element, std::int64_t cuts) {
                              const std::size_t k = element >> 32;
                              const auto die = static_cast<Index>(element & 0xFFFFFFFFu);
                              turns_[k].add(die, die + 1, std::min<std::int64_t>(cuts, MostTurns), rows[k].count);
                          });
}

void CircleCuts::finish(int passes, DieTally& tally)
{
    settleParts();
    CutHistogram histogram;
    const double pitch = 2 * ax_.step;
    const auto& rows = grid_.rows();
    for (std::size_t k = 0; k < rows.size(); ++k) {
        const DieGrid::Row& row = rows[k];
        turns_[k].forEachRange(0, row.count, [&](Index from, Index to, std::int64_t sum) {
            const std::uint64_t t = std::min<std::uint64_t>(static_cast<std::uint64_t>(sum), MostTurns);
            histogram.add(t, to - from);
            tally.dies(row, static_cast<int>(from), static_cast<int>(to), pitch, 0, t,
                       t >= static_cast<std::uint64_t>(passes) || t == MostTurns);
        });
        if (!tally.rowDone(row.count))
            return;
    }
    state_.report.elementsByCutCount = histogram.result();
}

} // namespace kerf::cutcheck
