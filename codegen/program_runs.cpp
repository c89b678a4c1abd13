#include "codegen/program_runs.h"

#include <limits>

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

RunSummary runProgramRuns(const Program& program, RunVisitor& visitor, const RunLimits&)
{
    MotionRun run;
    return runProgram(program, [&](const Motion& m) {
        run.first = m;
        return visitor.onRun(run);
    });
}

} // namespace kerf
