// SPDX-License-Identifier: GPL-3.0-or-later
#include "program/check/internal/report_assembly.h"

#include <algorithm>
#include <limits>

#include "program/check/internal/machine_time.h"

namespace kerf::cutcheck {

void recordRun(CheckState& state, const RunSummary& run)
{
    CutReport& report = state.report;
    if (run.beyondBounds || !state.withinBounds())
        report.unchecked = Unchecked::TooLarge;
    report.motions = run.motions;
    report.cuttingMotions = run.cuttingMotions;
    report.cuts = run.cuts;
    report.cutLength = run.cutLength;
    report.travelLength = run.travelLength;
    if (const std::optional<double> seconds = machineTime(run))
        report.machineSeconds = seconds;
    report.zeroShifts = static_cast<std::int64_t>(
        std::min<std::uint64_t>(run.zeroShifts, static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())));
    report.zeroShiftLines = run.zeroShiftLines;
    if (report.zeroShiftLines.size() > state.options.listLimit)
        report.zeroShiftLines.resize(state.options.listLimit);
    report.end = run.final.head;
    report.laserOff = !run.final.laserOn;
    report.cutOpen = run.final.cutting;
    report.arcOvershoot = state.overshoot();
    state.listFlagged();
}

void settlePasses(CheckState& state, const std::map<std::uint64_t, std::int64_t>& diesByCuts)
{
    CutReport& report = state.report;
    if (state.options.passes) {
        report.passes = std::max(*state.options.passes, 1);
        report.passSource = PassSource::Given;
        return;
    }
    std::uint64_t passes = 1;
    std::int64_t most = 0;
    for (const auto& [cuts, dies] : diesByCuts)
        if (cuts > 0 && dies >= most) {
            passes = cuts;
            most = dies;
        }
    report.passes = static_cast<int>(std::min<std::uint64_t>(passes, std::numeric_limits<int>::max()));
    report.passSource = PassSource::Dies;
}

bool runComplete(const CutReport& report) { return !report.cancelled && report.unchecked == Unchecked::No; }

} // namespace kerf::cutcheck
