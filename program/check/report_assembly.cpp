#include "program/check/report_assembly.h"

#include <algorithm>

#include "program/check/machine_time.h"

namespace kerf::cutcheck {

void recordRun(CheckState& state, const RunSummary& run)
{
    CutReport& report = state.report;
    if (run.beyondBounds || !state.withinBounds())
        report.unchecked = Unchecked::TooLarge;
    report.motions = run.motions;
    report.cuttingMotions = run.cuttingMotions;
    state.cuttingMotions = run.cuttingMotions;
    report.cuts = run.cuts;
    report.cutLength = run.cutLength;
    report.travelLength = run.travelLength;
    if (const std::optional<double> seconds = machineTime(run))
        report.machineSeconds = seconds;
    report.end = run.final.head;
    report.laserOff = !run.final.laserOn;
    report.cutOpen = run.final.cutting;
    report.arcOvershoot = state.overshoot();
    state.listFlagged();
}

void settlePasses(CheckState& state, std::optional<int> arcPasses)
{
    CutReport& report = state.report;
    if (state.options.passes) {
        report.passes = std::max(*state.options.passes, 1);
        report.passSource = PassSource::Given;
    } else if (arcPasses) {
        report.passes = std::max(*arcPasses, 1);
        report.passSource = PassSource::Arcs;
    } else {
        report.passes = std::max(state.repeatPasses(), 1);
        report.passSource = PassSource::RepeatCount;
    }
}

bool runComplete(const CutReport& report) { return !report.cancelled && report.unchecked == Unchecked::No; }

} // namespace kerf::cutcheck
