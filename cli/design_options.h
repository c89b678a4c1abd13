#pragma once

#include <string_view>

#include "cli/command_line.h"
#include "layout/design_driver.h"
#include "simulator/layout/simulation.h"

namespace kerf::cli {

/// The option names that stand for the designer's boxes.
inline const std::vector<std::string_view> DesignOptionNames = {
    "wafer", "shape", "die", "gap", "effective"};

/// The designer's inputs as the window would hold them after the boxes were
/// filled: --wafer chooses a size list item (none without it), which also puts
/// its effective diameter into the box unless --effective gives the box's
/// text; --shape, --die and --gap are the boxes' texts as typed.
/// Throws UsageError for a --wafer that is not a list item or a missing --die.
DesignInput designInputFrom(const Options& options);

/// The same for the simulator (--wafer, --die, --effective).
SimulationInput simulationInputFrom(const Options& options);

} // namespace kerf::cli
