#pragma once

#include <cstdint>

#include "program/check/check_state.h"
#include "program/check/run_progress.h"
#include "program/check/shape_check.h"
#include "program/reader/program_reader.h"

namespace kerf::cutcheck {

/// Feeds the cutting motions to a shape's check motion by motion: the
/// reference that the matching by runs is compared with.
template <ShapeCheck Shape>
class LiteralMatching final : public MotionVisitor {
public:
    LiteralMatching(Shape& shape, CheckState& state, std::uint64_t totalWork)
        : shape_(shape), state_(state), allowance_(shape.allowance()), progress_(state, totalWork)
    {
    }

    bool onMotion(const Motion& m) override
    {
        state_.ordinal = motions_++;
        if (!progress_.ran(1))
            return false;
        if (!m.cutting)
            return true;
        if (m.retrace)
            ++state_.retracedCuts;
        matchCut(shape_, state_, m, allowance_);
        return state_.withinBounds();
    }

private:
    Shape& shape_;
    CheckState& state_;
    double allowance_;
    RunProgress progress_;
    std::uint64_t motions_ = 0;
};

} // namespace kerf::cutcheck
