// SPDX-License-Identifier: GPL-3.0-or-later
#include <memory>

#include "cli/commands.h"
#include "cli/design_options.h"
#include "cli/layout_json.h"

namespace kerf::cli {

CommandRun declareSimulateCommand(CLI::App& app)
{
    const auto boxes = std::make_shared<DesignBoxes>();
    addWaferOption(app, *boxes);
    addDieOption(app, *boxes);
    addEffectiveOption(app, *boxes);
    app.footer("排列以一個 JSON 物件印出，形狀為 \"Simulation\"，直行在 RowTable 裡。");
    return [boxes](std::ostream& out, std::ostream& err) {
        const SimulationOutcome outcome = runSimulation(simulationInputFrom(*boxes));
        if (printedRefusal(outcome, err))
            return 1;
        const Simulation& simulation = std::get<Simulation>(outcome);
        writeSimulationJson(out, simulation.layout, simulation.results);
        return 0;
    };
}

} // namespace kerf::cli
