// SPDX-License-Identifier: GPL-3.0-or-later
#include "program/reader/program_runs.h"

#include "program/reader/internal/program_code.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <span>
#include <vector>

namespace kerf {

std::uint64_t MotionRun::copies() const
{
    std::uint64_t n = 1;
    for (std::size_t k = 0; k < depth; ++k) {
        const std::uint64_t c = levels[k].count;
        if (c != 0 && n > std::numeric_limits<std::uint64_t>::max() / c)
            return std::numeric_limits<std::uint64_t>::max();
        n *= c;
    }
    return n;
}

ProgramPoint MotionRun::offsetOf(const std::uint64_t* index) const
{
    ProgramPoint p;
    for (std::size_t k = 0; k < depth; ++k) {
        p.x += static_cast<double>(index[k]) * levels[k].step.x;
        p.y += static_cast<double>(index[k]) * levels[k].step.y;
    }
    return p;
}

bool MotionRun::retraces() const
{
    for (std::size_t k = 0; k < depth; ++k)
        if (levels[k].count > 1 && levels[k].step == ProgramPoint{})
            return true;
    return false;
}

using detail::Op;
using detail::OpCode;

namespace {

// Calls and repeats nested deeper than this are beyond the bounds (the
// runner recurses through them).
constexpr int MostNesting = 1000;
// Runs kept at once for the passes being looked at.
constexpr std::size_t MostBufferedRuns = std::size_t(1) << 19;

} // namespace

struct StructuredRunner {
    StructuredRunner(const Program& program, RunVisitor& visitor, const RunLimits& limits)
        : program_(program), visitor_(visitor), limits_(limits)
    {
    }

    RunSummary run()
    {
        if (program_.units_.empty())
            return summary_;
        code_ = program_.code_.get();
        const std::span<const Op> entry = code_->unit(program_.entryUnit());
        runOps(entry, 0, entry.size(), 0);
        return summary_;
    }

private:
    /// What a pass adds to the summary.
    struct Figures {
        std::uint64_t motions = 0, cuttingMotions = 0, cuts = 0, zeroShifts = 0;
        double cutLength = 0, travelLength = 0, waitSeconds = 0, machineSeconds = 0;
    };

    Figures figures() const
    {
        return {summary_.motions,      summary_.cuttingMotions, summary_.cuts,          summary_.zeroShifts,
                summary_.cutLength,    summary_.travelLength,   summary_.waitSeconds,   summary_.machineSeconds};
    }

    /// Adds `times` more of what the summary gained since `before`.
    void repeatFigures(const Figures& before, std::uint64_t times)
    {
        const auto more = [times](std::uint64_t now, std::uint64_t then) {
            const std::uint64_t d = now - then;
            return d != 0 && times > std::numeric_limits<std::uint64_t>::max() / d
                       ? std::numeric_limits<std::uint64_t>::max() - now
                       : std::min(d * times, std::numeric_limits<std::uint64_t>::max() - now);
        };
        const double t = static_cast<double>(times);
        summary_.motions += more(summary_.motions, before.motions);
        summary_.cuttingMotions += more(summary_.cuttingMotions, before.cuttingMotions);
        summary_.cuts += more(summary_.cuts, before.cuts);
        summary_.zeroShifts += more(summary_.zeroShifts, before.zeroShifts);
        summary_.cutLength += (summary_.cutLength - before.cutLength) * t;
        summary_.travelLength += (summary_.travelLength - before.travelLength) * t;
        summary_.waitSeconds += (summary_.waitSeconds - before.waitSeconds) * t;
        summary_.machineSeconds += (summary_.machineSeconds - before.machineSeconds) * t;
    }

    bool work(std::uint64_t units = 1)
    {
        work_ += units;
        if (work_ <= limits_.maxWork)
            return true;
        summary_.beyondBounds = true;
        return false;
    }

    /// Hands a run on: to the passes being looked at, else to the visitor.
    bool emit(const MotionRun& run)
    {
        if (!work())
            return false;
        if (looking_ > 0) {
            if (pending_.size() >= MostBufferedRuns) {
                summary_.beyondBounds = true;
                return false;
            }
            pending_.push_back(run);
            return true;
        }
        if (!visitor_.onRun(run)) {
            summary_.stopped = true;
            return false;
        }
        return true;
    }

public:
    /// Where a run of ops stands: its unit's code, the op and the depth of
    /// calls and repeats.
    struct Place {
        std::span<const Op> code;
        std::size_t pc;
        int nesting;
    };

    bool motion(const Op& o)
    {
        MotionRun run;
        run.ordinal = summary_.motions;
        detail::runMotion(o, code_->arcs.data(), code_->arcSpeeds.data(), speeds_, retracing_ > 0, summary_, run.first);
        if (o.code == OpCode::Move && !o.relative) {
            absoluteX_ |= o.hasX;
            absoluteY_ |= o.hasY;
        }
        return emit(run);
    }

    bool runOps(std::span<const Op> code, std::size_t begin, std::size_t end, int nesting)
    {
        if (nesting > MostNesting) {
            summary_.beyondBounds = true;
            return false;
        }
        for (Place at{code, begin, nesting}; at.pc < end; ++at.pc) {
            if (!work())
                return false;
            if (!detail::runOp(code[at.pc], *this, at))
                return false;
        }
        return true;
    }

    // The handlers of the ops (detail::runOp) besides `motion`.

    void stateWord(const Op& o)
    {
        if (o.code == OpCode::Zero)
            zeroed_ = true;
        detail::applyStateWord(o, summary_.final, summary_, speeds_);
    }

    bool call(const Op& o, const Place& at)
    {
        const std::span<const Op> callee = code_->unit(o.target);
        return runOps(callee, 0, callee.size(), at.nesting + 1);
    }

    bool loop(const Op& o, Place& at)
    {
        if (!runLoop(at.code, at.pc, at.nesting + 1))
            return false;
        at.pc = o.target; // its EndLoop
        return true;
    }

    bool endLoop(const Place&) { return true; } // runLoop runs the bodies

private:
    // Runs a repeat block pass by pass until a pass ends as it began (the head
    // moved by an offset that its absolute moves do not undo, the laser, the
    // cut and the speeds as they were, and a pass that runs a ZERO leaves the
    // zero where it found it relative to the head): the passes left are
    // copies of it. The runs of the passes being looked at wait at the end of
    // one buffer, each pass's after those of the passes around it, so that a
    // level is added in place and nothing is copied per level of nesting.
    bool runLoop(std::span<const Op> code, std::size_t loop, int nesting)
    {
        const Op& o = code[loop];
        MachineState& state = summary_.final;
        const MachineState first = state;
        std::uint64_t remaining = o.count;
        bool firstPass = true;
        while (remaining > 0) {
            // A later pass that starts as the first did retraces its path.
            const bool retracing = !firstPass && state.head == first.head && state.zero == first.zero &&
                                   state.cutting == first.cutting;
            firstPass = false;
            retracing_ += retracing;
            const MachineState start = state;
            const detail::Speeds startSpeeds = speeds_;
            const Figures before = figures();
            const bool outerX = absoluteX_, outerY = absoluteY_, outerZeroed = zeroed_;
            const std::size_t passStart = pending_.size();
            absoluteX_ = absoluteY_ = zeroed_ = false;
            ++looking_;
            const bool ran = runOps(code, loop + 1, o.target, nesting);
            --looking_;
            retracing_ -= retracing;
            if (!ran)
                return false;
            const ProgramPoint d{state.head.x - start.head.x, state.head.y - start.head.y};
            const RunLevel level{d, remaining, summary_.motions - before.motions};
            // Copies then move the zero with the head, each pass by d.
            const bool zeroFollows = state.zero.x - state.head.x == start.zero.x - start.head.x &&
                                     state.zero.y - state.head.y == start.zero.y - start.head.y;
            const bool zeroStays = (d.x == 0 || !absoluteX_) && (d.y == 0 || !absoluteY_);
            bool equal = remaining > 1 && state.cutting == start.cutting && state.laserOn == start.laserOn &&
                         speeds_ == startSpeeds && (zeroed_ ? zeroFollows : zeroStays);
            absoluteX_ = outerX || absoluteX_;
            absoluteY_ = outerY || absoluteY_;
            const bool zeroedHere = zeroed_;
            zeroed_ = outerZeroed || zeroed_;
            if (equal) {
                const auto added = addLevel(passStart, level);
                if (!added)
                    return false;
                equal = *added;
            }
            if (equal) {
                repeatFigures(before, remaining - 1);
                const double n = static_cast<double>(remaining);
                state.head = {start.head.x + d.x * n, start.head.y + d.y * n};
                if (zeroedHere)
                    state.zero = {state.zero.x + d.x * (n - 1), state.zero.y + d.y * (n - 1)};
                remaining = 0;
            } else {
                --remaining;
            }
            if (looking_ == 0 && !handOver(passStart))
                return false;
        }
        return true;
    }

    /// Adds `level` to every run of the pass that begins at `passStart` in
    /// the buffer: merged into a run's outermost level where it continues it
    /// (a pass of whole copies of that level), else as a level of its own.
    /// True when every run took it; false when one has no level left (the
    /// passes are then run one by one); none when the copies would pass 2^64
    /// or the work goes past its bound.
    std::optional<bool> addLevel(std::size_t passStart, const RunLevel& level)
    {
        const auto n = static_cast<std::ptrdiff_t>(pending_.size() - passStart);
        if (!work(static_cast<std::uint64_t>(n)))
            return std::nullopt;
        const auto pass = std::span(pending_).subspan(passStart);
        for (const MotionRun& r : pass) {
            if (!continues(r, level) && r.depth == MaxRunLevels)
                return false;
            if (r.copies() > std::numeric_limits<std::uint64_t>::max() / level.count) {
                summary_.beyondBounds = true;
                return std::nullopt;
            }
        }
        if (!work(static_cast<std::uint64_t>(n)))
            return std::nullopt;
        for (MotionRun& r : pass) {
            if (continues(r, level))
                r.levels[r.depth - 1].count *= level.count;
            else
                r.levels[r.depth++] = level;
        }
        return true;
    }

    /// Whether `level` is a run's outermost level taken further: its step and
    /// motions are those of all the copies of that level (up to the rounding
    /// of the head's place), so that the copies merge into one level.
    static bool continues(const MotionRun& r, const RunLevel& level)
    {
        if (r.depth == 0)
            return false;
        const RunLevel& outer = r.levels[r.depth - 1];
        const auto c = static_cast<double>(outer.count);
        const auto near = [](double a, double b) { return std::abs(a - b) <= 1e-12 * std::max(std::abs(a), std::abs(b)) + 1e-15; };
        return outer.count <= std::numeric_limits<std::uint64_t>::max() / std::max<std::uint64_t>(outer.motions, 1) &&
               level.motions == outer.motions * outer.count && near(level.step.x, outer.step.x * c) &&
               near(level.step.y, outer.step.y * c);
    }

    /// Hands the runs of the buffer from `passStart` on to the visitor.
    bool handOver(std::size_t passStart)
    {
        for (std::size_t i = passStart; i < pending_.size(); ++i)
            if (!emit(pending_[i]))
                return false;
        pending_.resize(passStart);
        return true;
    }

    const Program& program_;
    const ProgramCode* code_ = nullptr;
    RunVisitor& visitor_;
    RunLimits limits_;
    RunSummary summary_;
    detail::Speeds speeds_{std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::quiet_NaN()};
    std::vector<MotionRun> pending_; // the runs of the passes being looked at
    int looking_ = 0;                // passes being looked at
    std::uint64_t work_ = 0;
    int retracing_ = 0; // passes being run that retrace an earlier one
    bool absoluteX_ = false, absoluteY_ = false; // MA X / MA Y in the pass being looked at
    bool zeroed_ = false;                        // a ZERO in the pass being looked at
};

RunSummary runProgramRuns(const Program& program, RunVisitor& visitor, const RunLimits& limits)
{
    return StructuredRunner(program, visitor, limits).run();
}

} // namespace kerf
