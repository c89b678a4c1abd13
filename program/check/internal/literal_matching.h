// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

#include "program/check/internal/shape_feed.h"
#include "program/reader/program_reader.h"

namespace kerf::cutcheck {

/// Feeds the cutting motions to a shape's check motion by motion: the
/// reference that the matching by runs is compared with.
template <ShapeCheck Shape>
class LiteralMatching final : public MotionVisitor {
public:
    LiteralMatching(Shape& shape, CheckState& state, std::uint64_t totalWork) : feed_(shape, state, totalWork) {}

    bool onMotion(const Motion& m) override
    {
        feed_.state.ordinal = motions_++;
        if (!feed_.progress.ran(1))
            return false;
        if (!m.cutting) {
            feed_.close();
            return true;
        }
        feed_.match(m);
        return feed_.state.withinBounds();
    }

    /// Matches what the last motions left open.
    void finish() { feed_.close(); }

private:
    ShapeFeed<Shape> feed_;
    std::uint64_t motions_ = 0;
};

} // namespace kerf::cutcheck
