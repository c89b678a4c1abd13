// SPDX-License-Identifier: GPL-3.0-or-later
#include "program/reader/internal/program_code.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace kerf {

using detail::Op;

struct ProgramRunner {
private:
    /// Where a unit's run stands: its next op and the end of its ops.
    struct Place {
        const Op* pc;
        const Op* end;
    };
    /// A repeat block being run.
    struct Loop {
        const Op* bodyStart;
        std::uint32_t remaining;
        bool startCutting;
        bool retracing;
        ProgramPoint start;
        ProgramPoint startZero;
    };

public:
    ProgramRunner(const Program& program, MotionVisitor& visitor) : program_(program), visitor_(visitor) {}

    RunSummary run(const ReadLimits& limits)
    {
        if (program_.units_.empty())
            return summary_;
        code_ = program_.code_.get();
        if (program_.expandedSteps() > limits.maxSteps) {
            summary_.beyondBounds = true;
            return summary_;
        }
        // The place in the unit being run stays in a local; the stack holds its callers'.
        Place at = startOf(program_.entryUnit());
        for (;;) {
            if (at.pc == at.end) {
                if (calls_.empty())
                    return summary_;
                at = calls_.back();
                calls_.pop_back();
                continue;
            }
            const Op& o = *at.pc++;
            if (!detail::runOp(o, *this, at))
                return summary_;
        }
    }

    // The handlers of the ops (detail::runOp).

    /// Runs a motion and hands it to the visitor; false when the visitor stops the run.
    bool motion(const Op& o)
    {
        detail::runMotion(o, code_->arcs.data(), code_->arcSpeeds.data(), speeds_, retracingLoops_ > 0, summary_, motion_);
        if (visitor_.onMotion(motion_))
            return true;
        summary_.stopped = true;
        return false;
    }

    void stateWord(const Op& o) { detail::applyStateWord(o, summary_.final, summary_, speeds_); }

    /// A call pushes the caller's place.
    bool call(const Op& o, Place& at)
    {
        calls_.push_back(at);
        at = startOf(o.target);
        return true;
    }

    bool loop(const Op& o, const Place& at)
    {
        const MachineState& state = summary_.final;
        loops_.push_back({at.pc, o.count, state.cutting, false, state.head, state.zero});
        return true;
    }

    /// The end of a pass: the next pass begins, or the block is done.
    bool endLoop(Place& at)
    {
        Loop& loop = loops_.back();
        if (loop.retracing) {
            loop.retracing = false;
            --retracingLoops_;
        }
        if (--loop.remaining == 0) {
            loops_.pop_back();
            return true;
        }
        // The run is deterministic: a pass that starts in the state of the
        // first pass repeats its path exactly.
        const MachineState& state = summary_.final;
        if (state.head == loop.start && state.zero == loop.startZero && state.cutting == loop.startCutting) {
            loop.retracing = true;
            ++retracingLoops_;
        }
        at.pc = loop.bodyStart;
        return true;
    }

private:
    Place startOf(std::size_t unit) const
    {
        const std::span<const Op> code = code_->unit(unit);
        return {code.data(), code.data() + code.size()};
    }

    const Program& program_;
    const ProgramCode* code_ = nullptr;
    MotionVisitor& visitor_;
    RunSummary summary_;
    detail::Speeds speeds_{std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::quiet_NaN()};
    std::vector<Place> calls_; // the callers of the unit being run
    std::vector<Loop> loops_;  // the repeat blocks being run, innermost last
    std::uint32_t retracingLoops_ = 0;
    Motion motion_;
};

RunSummary runProgram(const Program& program, MotionVisitor& visitor, const ReadLimits& limits)
{
    return ProgramRunner(program, visitor).run(limits);
}

std::variant<ProgramTrace, ProgramError> readProgram(std::string_view text, const ReadLimits& limits)
{
    auto parsed = parseProgram(text);
    if (auto* error = std::get_if<ProgramError>(&parsed))
        return std::move(*error);
    const Program& program = std::get<Program>(parsed);
    ProgramTrace trace;
    if (program.expandedSteps() <= limits.maxSteps)
        trace.motions.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(program.expandedMotions(), 1u << 20)));
    trace.summary = runProgram(program, [&trace](const Motion& m) { trace.motions.push_back(m); }, limits);
    return trace;
}

} // namespace kerf