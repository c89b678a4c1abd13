// SPDX-License-Identifier: GPL-3.0-or-later
#include "program/check/internal/run_progress.h"

#include <algorithm>
#include <limits>

namespace kerf::cutcheck {

bool RunProgress::ran(std::uint64_t motions)
{
    constexpr std::uint64_t saturated = std::numeric_limits<std::uint64_t>::max();
    motions_ = motions > saturated - motions_ ? saturated : motions_ + motions;
    if (motions_ < next_ || !state_.options.progress)
        return true;
    next_ = motions_ > saturated - ProgressStride ? saturated : motions_ + ProgressStride;
    if (state_.options.progress(std::min(motions_, total_), total_))
        return true;
    state_.report.cancelled = true;
    return false;
}

} // namespace kerf::cutcheck
