// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "program/check/internal/run_levels.h"
#include "program/check/internal/shape_feed.h"
#include "program/reader/program_runs.h"

namespace kerf::cutcheck {

/// Feeds the runs of cutting motions to a shape's check: copies that retrace
/// one path are matched once for all of them; of the copies that move, a row
/// is matched at once where the shape can, the others copy by copy within
/// the bound of work.
template <ShapeCheck Shape>
class RunMatching final : public RunVisitor {
public:
    RunMatching(Shape& shape, CheckState& state, std::uint64_t totalWork) : feed_(shape, state, totalWork) {}

    bool onRun(const MotionRun& run) override
    {
        CheckState& state = feed_.state;
        const std::uint64_t total = run.copies();
        if (!feed_.progress.ran(total))
            return false;
        state.ordinal = run.ordinal;
        if (!run.first.cutting) {
            feed_.close();
            return true;
        }
        const RunLevels split = splitLevels(run);
        if (run.first.clause > 0) { // never credited: flagged once for all its copies
            feed_.close();
            retraceOffsets(run, split, state.options.listLimit, state.retraceOffsets);
            state.times = total;
            feed_.match(run.first);
            state.times = 1;
            state.retraceOffsets.assign(1, 0);
            return true;
        }
        if (state.point(run.first))
            return shortSteps(run, split);
        feed_.close();
        const std::size_t levels = split.movingCount;
        const auto& moving = split.moving;
        retraceOffsets(run, split, state.options.listLimit, state.retraceOffsets);
        // The innermost level that moves is matched whole where the shape
        // can (a row of equal cuts), else copy by copy.
        const std::uint64_t inner = levels > 0 ? run.levels[moving[0]].count : 1;
        if (!state.work(split.distinct / inner))
            return false;
        state.times = split.times;
        // Copy by copy over the levels that move, the innermost fastest.
        std::array<std::uint64_t, MaxRunLevels> index{};
        Motion m = run.first;
        for (;;) {
            state.ordinal = run.ordinal;
            for (std::size_t l = 0; l < levels; ++l)
                state.ordinal += index[moving[l]] * run.levels[moving[l]].motions;
            if (levels > 0 && index[moving[0]] == 0) {
                if (feed_.shape.cutRun(m, run.levels[moving[0]].step, inner))
                    index[moving[0]] = inner - 1; // on to the next copy of the outer levels
                else if (state.work(inner - 1))
                    feed_.match(m);
            } else {
                feed_.match(m);
            }
            if (!state.withinBounds())
                break;
            std::size_t l = 0;
            for (; l < levels; ++l) {
                if (++index[moving[l]] < run.levels[moving[l]].count)
                    break;
                index[moving[l]] = 0;
            }
            if (l == levels)
                break;
            const ProgramPoint d = run.offsetOf(index.data());
            m.from = {run.first.from.x + d.x, run.first.from.y + d.y};
            m.to = {run.first.to.x + d.x, run.first.to.y + d.y};
            if (m.kind == MotionKind::Arc)
                m.centre = {run.first.centre.x + d.x, run.first.centre.y + d.y};
        }
        state.times = 1;
        state.retraceOffsets.assign(1, 0);
        return state.withinBounds();
    }

    /// Matches what the last runs left open.
    void finish() { feed_.close(); }

    /// Whether the run stopped at copies of a short cutting motion whose
    /// path only the machine's order tells: the program is to be run motion
    /// by motion instead.
    bool needsLiteralRun() const { return needsLiteral_; }

private:
    /// A run of cutting motions of no length: copies that stand still cut
    /// nothing and leave the chain as it is; a single one, or copies that
    /// each start where the last ended, join the chain as the path they
    /// trace. Others interleave with the runs of their pass.
    bool shortSteps(const MotionRun& run, const RunLevels& split)
    {
        const Motion& m = run.first;
        const std::uint64_t total = run.copies();
        if (m.from == m.to) {
            feed_.state.countPointCuts(total);
            return true;
        }
        if (total == 1) {
            feed_.match(m);
            return true;
        }
        if (split.times == 1 && split.movingCount == 1) {
            const RunLevel& level = run.levels[split.moving[0]];
            const auto near = [](double a, double b) {
                return std::abs(a - b) <= 1e-9 * std::max(std::abs(a), std::abs(b));
            };
            if (near(level.step.x, m.to.x - m.from.x) && near(level.step.y, m.to.y - m.from.y)) {
                Motion traced = m;
                traced.kind = MotionKind::Straight;
                const auto n = static_cast<double>(level.count);
                traced.to = {m.from.x + level.step.x * n, m.from.y + level.step.y * n};
                feed_.match(traced);
                return true;
            }
        }
        needsLiteral_ = true;
        return false;
    }

    ShapeFeed<Shape> feed_;
    bool needsLiteral_ = false;
};

} // namespace kerf::cutcheck
