#include "cli/commands.h"
#include "cli/design_options.h"
#include "cli/layout_json.h"

namespace kerf::cli {

int runSimulateCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    const SimulationOutcome outcome = runSimulation(simulationInputFrom(Options(args, {"wafer", "die", "effective"})));
    if (printedRefusal(outcome, err))
        return 1;
    const Simulation& simulation = std::get<Simulation>(outcome);
    writeSimulationJson(out, simulation.layout, simulation.results);
    return 0;
}

} // namespace kerf::cli
