// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "layout/wafer_layout.h"

namespace kerf::testing {

/// What the reference judge finds of a program.
struct JudgeVerdict {
    bool judged = false; // false: the program runs too long for the judge
    int passes = 1;
    std::int64_t dies = 0;
    std::int64_t uncutDies = 0;
    bool outside = false;   // a cut past the effective circle
    bool stray = false;     // a cut on no die edge
    bool uncertain = false; // a line of several moves run with the laser on
    bool zeroShift = false; // a ZERO where the head stood off the zero
    bool clean() const { return judged && uncutDies == 0 && !outside && !stray && !uncertain && !zeroShift; }
};

/// The reference judge of a small program, written to be plainly right rather than fast and
/// sharing no code with the check: it runs the program text motion by
/// motion with its own interpreter, keeps every cutting motion, and
/// measures how much of each die edge the cuts cover and how often, by
/// intervals along the edge's line (arcs: angles about the die's circle),
/// within `tolerance` inches. A motion longer than the tolerance is a cut of
/// its own; consecutive shorter ones are judged together by the path they
/// trace. `text` must be a program the reader accepts.
class ReferenceJudge {
public:
    ReferenceJudge(std::string_view text, const WaferLayout& layout, double tolerance = 5e-5);
    /// The verdict with the pass count given, else the cuts most dies receive.
    JudgeVerdict verdict(std::optional<int> passes) const;

private:
    JudgeVerdict found_;      // all but the pass count and the uncut dies
    std::vector<int> fewest_; // by die, the fewest cuts of its edges
};

inline JudgeVerdict judgeProgram(std::string_view text, const WaferLayout& layout, std::optional<int> passes,
                                 double tolerance = 5e-5)
{
    return ReferenceJudge(text, layout, tolerance).verdict(passes);
}

} // namespace kerf::testing
