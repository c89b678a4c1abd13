// SPDX-License-Identifier: GPL-3.0-or-later
#include <memory>

#include "cli/commands.h"
#include "cli/design_options.h"
#include "cli/job_options.h"
#include "cli/layout_json.h"

namespace kerf::cli {

CommandRun declareSimulateCommand(CLI::App& app)
{
    const auto boxes = std::make_shared<DesignBoxes>();
    const auto jobFiles = std::make_shared<JobFiles>();
    CLI::Option* wafer = addWaferOption(app, *boxes);
    CLI::Option* die = addDieOption(app, *boxes);
    addEffectiveOption(app, *boxes);
    addJobOption(app, *jobFiles, {wafer, die});
    app.footer("排列以一個 JSON 物件印出，形狀為 \"Simulation\"，直行在 RowTable 裡。\n"
               "--job 給出工作檔的晶片直徑、有效直徑與晶粒尺寸（形狀與切割微調值不用）。");
    return [boxes, jobFiles](std::ostream& out, std::ostream& err) {
        const std::optional<Job> job = commandJob(*jobFiles, Job{*boxes, {}}, err);
        if (!job)
            return 1;
        const SimulationOutcome outcome = runSimulation(simulationInputFrom(job->designer));
        if (printedRefusal(outcome, err))
            return 1;
        const Simulation& simulation = std::get<Simulation>(outcome);
        writeSimulationJson(out, simulation.layout, simulation.results);
        return 0;
    };
}

} // namespace kerf::cli
