#include "program/check/circle_cuts.h"

#include <algorithm>

#include "program/check/cut_histogram.h"
#include "program/check/run_levels.h"

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
    const std::optional<ArcOnDie> arcLast = arc ? aboutDie(last) : std::nullopt;
    if (!arcLast || arc->row != arcLast->row ||
        std::abs(arcLast->die - arc->die) + 1 != static_cast<Index>(std::min<std::uint64_t>(copies, MostRunCopies)))
        return false;
    // An arc's reach is convex along the row: the end copies reach farthest.
    if (!state_.arcsWithin(first, last, allowance()))
        return false;
    state_.matched(std::max(arc->deviation, arcLast->deviation));
    count(*arc->row, std::min(arc->die, arcLast->die), std::max(arc->die, arcLast->die) + 1, arc->turns, copies);
    return true;
}

std::optional<int> CircleCuts::passesOfArcs() const
{
    if (arcsByTurns_.empty())
        return std::nullopt;
    const auto most = std::max_element(arcsByTurns_.begin(), arcsByTurns_.end(),
                                       [](const auto& a, const auto& b) { return a.second < b.second; });
    return static_cast<int>(most->first);
}

void CircleCuts::finish(int passes, DieTally& tally)
{
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
