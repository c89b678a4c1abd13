// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <type_traits>

#include "program/reader/program_reader.h"

namespace kerf {

// Runs a compiled program by its structure. A repeat block whose pass leaves
// the head displaced by a fixed offset, with the laser and the cut as it found
// them, makes equal copies of that pass: each motion of the pass becomes one
// run, the motion and its copies at a fixed step. Nested repeats, calls
// inside repeats and repeated passes add a level to the runs inside them, in
// place; a level that takes the one below further (a pass of its whole
// copies) merges into it, so that repeats of repeats stay one level. A
// pass that does not repeat equally is run as it stands, pass by pass, until
// one does. The cost is the program's text and the passes that differ, not
// its motions; the work is bounded (RunLimits), and a run beyond the bound
// stops and says so (RunSummary::beyondBounds): such a program could not be
// checked, which says nothing about whether it is right.

/// One level of copies: `count` copies, each `step` inches from the last.
struct RunLevel {
    ProgramPoint step;
    std::uint64_t count = 1;
    /// Motions the machine makes from one copy to the next (a pass of the
    /// repeat block), for the order of the copies among all motions.
    std::uint64_t motions = 0;

    bool operator==(const RunLevel&) const = default;
};

/// Levels a run may have; a repeat nested deeper is run pass by pass.
inline constexpr std::size_t MaxRunLevels = 4;

/// A motion and its copies. The copies are `first` moved by
/// i0·levels[0].step + i1·levels[1].step + …, 0 ≤ ik < levels[k].count; the
/// machine makes them with i0 running fastest. The copies of the runs of one
/// pass interleave: a pass of four motions repeated n times gives four runs
/// of n copies, handed over in the order of their first copies. A level of
/// step zero retraces the same path (`first.retrace` tells whether `first`
/// itself retraces an earlier pass).
struct MotionRun {
    Motion first;
    /// How many motions the machine makes before `first` (0-based place in
    /// the literal run); copy (i0, i1, …) comes ik·levels[k].motions later.
    std::uint64_t ordinal = 0;
    std::array<RunLevel, MaxRunLevels> levels{};
    std::uint8_t depth = 0; // levels in use

    /// How many motions the run stands for (saturating at 2^64 − 1).
    std::uint64_t copies() const;
    /// The displacement of copy (i0, i1, …) from `first`; `index` has `depth` entries.
    ProgramPoint offsetOf(const std::uint64_t* index) const;
    /// Whether a level of step zero and more than one copy makes the run
    /// retrace its own path.
    bool retraces() const;
};

/// Receives the runs of a program.
class RunVisitor {
public:
    virtual ~RunVisitor() = default;
    /// Return false to stop the run after this one.
    virtual bool onRun(const MotionRun& run) = 0;
};

/// Bounds on the work of a structured run: the words run, the runs handed
/// over, and each run that a level is added to. A run of more copies than
/// 64 bits count is past the bounds too. Programs the generator
/// writes need a few per line of their text.
struct RunLimits {
    std::uint64_t maxWork = 100'000'000;
};

/// Runs the program from its entry unit, head at the origin, laser off. The
/// summary's figures are those of the literal run (runProgram), up to the
/// rounding of adding steps.
RunSummary runProgramRuns(const Program& program, RunVisitor& visitor, const RunLimits& limits = {});

/// The same with a callable taking a `const MotionRun&` and returning bool
/// (false stops) or nothing.
template <class F>
    requires std::is_invocable_v<F&, const MotionRun&>
RunSummary runProgramRuns(const Program& program, F&& onRun, const RunLimits& limits = {})
{
    struct Adapter final : RunVisitor {
        F& f;
        explicit Adapter(F& fn) : f(fn) {}
        bool onRun(const MotionRun& run) override
        {
            if constexpr (std::is_same_v<std::invoke_result_t<F&, const MotionRun&>, bool>)
                return f(run);
            else {
                f(run);
                return true;
            }
        }
    } adapter(onRun);
    return runProgramRuns(program, static_cast<RunVisitor&>(adapter), limits);
}

} // namespace kerf
