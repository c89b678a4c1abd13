// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

#include "program/check/internal/check_state.h"

namespace kerf::cutcheck {

/// Work (motions run, dies looked at) between two calls of the progress
/// callback: often enough for a window's bar, rarely enough to cost nothing.
inline constexpr std::uint64_t ProgressStride = 1 << 18;

/// Counts the motions run and asks the progress callback now and then.
class RunProgress {
public:
    RunProgress(CheckState& state, std::uint64_t total) : state_(state), total_(total) {}

    /// Counts `motions` more run: false when the check is cancelled.
    bool ran(std::uint64_t motions);

private:
    CheckState& state_;
    std::uint64_t total_;
    std::uint64_t motions_ = 0;
    std::uint64_t next_ = 0;
};

} // namespace kerf::cutcheck
