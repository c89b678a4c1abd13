// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

#include "program/reader/program_reader.h"

namespace kerf::cutcheck {

/// Consecutive cutting motions, each too short to be a cut, followed as the
/// path they trace: together they may burn a long line. Steps that keep to
/// one direction (every end within the tolerance of the line from the
/// chain's start to its last end, none turning back) make one straight
/// segment; a step that leaves it starts the next.
class CutChain {
public:
    explicit CutChain(double tolerance) : tolerance_(tolerance) {}

    bool empty() const { return steps_ == 0; }

    /// Adds the step from `m.from` to `m.to` (an arc: its chord) at place
    /// `ordinal` of the machine's order. False, adding nothing, when it
    /// leaves the chain's direction: the chain is to be taken first.
    bool add(const Motion& m, std::uint64_t ordinal);

    /// The segment traced: a straight cut from the first step's start to
    /// the last step's end, on the first step's line.
    struct Segment {
        Motion motion;
        std::uint64_t steps = 0;
        std::uint64_t ordinal = 0;
    };
    /// The segment traced so far; the chain is empty afterwards.
    Segment take();

private:
    double tolerance_;
    Motion first_;
    ProgramPoint end_;
    std::uint64_t steps_ = 0;
    std::uint64_t ordinal_ = 0;
    double farthest_ = 0;
    // The directions still open, as angles about the first end farther than
    // the tolerance from the start.
    bool aimed_ = false;
    ProgramPoint aim_;
    double low_ = 0, high_ = 0;
};

} // namespace kerf::cutcheck
