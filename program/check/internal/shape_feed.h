// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

#include "program/check/internal/check_state.h"
#include "program/check/internal/cut_chain.h"
#include "program/check/internal/run_progress.h"
#include "program/check/internal/shape_check.h"
#include "program/reader/program_reader.h"

namespace kerf::cutcheck {

/// A shape's check with what feeding it cutting motions takes: the reach its
/// arcs are allowed past the effective circle, the progress over the run and
/// the chain of short cutting motions being followed.
template <ShapeCheck Shape>
struct ShapeFeed {
    ShapeFeed(Shape& s, CheckState& checkState, std::uint64_t totalWork)
        : shape(s), state(checkState), allowance(s.allowance()), progress(checkState, totalWork),
          chain(checkState.tolerance)
    {
    }

    /// Matches one cutting motion, the next in the machine's order: the
    /// effective circle and the shape's own check. Motions of no length
    /// (within the tolerance) join the chain they trace; a move of a line
    /// of several is never credited, its first flagged.
    void match(const Motion& m)
    {
        if (m.clause > 0) {
            close();
            if (m.clause == 1)
                state.uncertain(m);
            return;
        }
        if (state.point(m)) {
            if (!chain.add(m, state.ordinal)) {
                close();
                chain.add(m, state.ordinal);
            }
            return;
        }
        close();
        whole(m);
    }

    /// Matches the chain followed so far: a cut when it reaches past the
    /// tolerance, else its steps are cuts of no length.
    void close()
    {
        if (chain.empty())
            return;
        const CutChain::Segment segment = chain.take();
        if (state.point(segment.motion))
            return state.countPointCuts(segment.steps);
        const std::uint64_t ordinal = state.ordinal;
        state.ordinal = segment.ordinal;
        whole(segment.motion);
        state.ordinal = ordinal;
    }

    /// Matches a motion that is a cut of its own.
    void whole(const Motion& m)
    {
        if (m.kind == MotionKind::Arc)
            state.arc(m, allowance);
        shape.cut(m); // straight cuts: the shape checks them against the circle
    }

    Shape& shape;
    CheckState& state;
    const double allowance;
    RunProgress progress;
    CutChain chain;
};

} // namespace kerf::cutcheck
