// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "program/reader/program_runs.h"

namespace kerf::cutcheck {

/// The levels of a run of equal motions, split into those that move the
/// copies (matched copy by copy or a row at once) and those that retrace
/// them (matched once, counted as often as they retrace).
struct RunLevels {
    std::uint64_t times = 1;    // how often each path is retraced (saturating)
    std::uint64_t distinct = 1; // paths of distinct places (saturating)
    std::array<std::size_t, MaxRunLevels> moving{};    // levels that move, innermost first
    std::array<std::size_t, MaxRunLevels> retracing{}; // levels of step zero
    std::size_t movingCount = 0;
    std::size_t retracingCount = 0;
};

/// Splits the levels of `run` (those of one copy do neither).
RunLevels splitLevels(const MotionRun& run);

/// The last of `copies` copies of `first`, each `step` further on.
Motion lastCopy(const Motion& first, ProgramPoint step, std::uint64_t copies);

/// The places after a copy of its retracing copies, in the machine's order:
/// 0 first, then as many as `most` (at least one) in all.
void retraceOffsets(const MotionRun& run, const RunLevels& levels, std::size_t most,
                    std::vector<std::uint64_t>& offsets);

} // namespace kerf::cutcheck
