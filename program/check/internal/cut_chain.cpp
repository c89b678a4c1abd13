// SPDX-License-Identifier: GPL-3.0-or-later
#include "program/check/internal/cut_chain.h"

#include <algorithm>
#include <cmath>

namespace kerf::cutcheck {

bool CutChain::add(const Motion& m, std::uint64_t ordinal)
{
    if (steps_ == 0) {
        first_ = m;
        first_.kind = MotionKind::Straight;
        end_ = m.from;
        ordinal_ = ordinal;
        farthest_ = 0;
        aimed_ = false;
    }
    const double dx = m.to.x - first_.from.x, dy = m.to.y - first_.from.y;
    const double distance = std::hypot(dx, dy);
    if (!(distance + tolerance_ >= farthest_)) // turns back (or no number)
        return false;
    if (distance > tolerance_) {
        // Each end far out leaves open the directions that pass within the
        // tolerance of it; the chain's end must lie in all of them.
        const double width = std::asin(tolerance_ / distance);
        if (!aimed_) {
            aimed_ = true;
            aim_ = {dx / distance, dy / distance};
            low_ = -width;
            high_ = width;
        } else {
            const double angle = std::atan2(aim_.x * dy - aim_.y * dx, aim_.x * dx + aim_.y * dy);
            if (!(angle >= low_ && angle <= high_))
                return false;
            low_ = std::max(low_, angle - width);
            high_ = std::min(high_, angle + width);
        }
    }
    farthest_ = std::max(farthest_, distance);
    end_ = m.to;
    ++steps_;
    return true;
}

CutChain::Segment CutChain::take()
{
    Segment segment{first_, steps_, ordinal_};
    segment.motion.to = end_;
    steps_ = 0;
    return segment;
}

} // namespace kerf::cutcheck
