// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

#include "program/check/internal/check_state.h"
#include "program/check/internal/run_progress.h"
#include "program/check/internal/shape_check.h"
#include "program/reader/program_reader.h"

namespace kerf::cutcheck {

/// A shape's check with what feeding it cutting motions takes: the reach its
/// arcs are allowed past the effective circle and the progress over the run.
template <ShapeCheck Shape>
struct ShapeFeed {
    ShapeFeed(Shape& s, CheckState& checkState, std::uint64_t totalWork)
        : shape(s), state(checkState), allowance(s.allowance()), progress(checkState, totalWork)
    {
    }

    /// Matches one cutting motion: the effective circle and the shape's own
    /// check. A motion of no length is only counted as such.
    void match(const Motion& m)
    {
        if (state.point(m)) {
            state.countPointCuts(state.times);
            return;
        }
        if (m.kind == MotionKind::Arc)
            state.arc(m, allowance);
        shape.cut(m); // straight cuts: the shape checks them against the circle
    }

    Shape& shape;
    CheckState& state;
    const double allowance;
    RunProgress progress;
};

} // namespace kerf::cutcheck
