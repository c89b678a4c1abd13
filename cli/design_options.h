#pragma once

#include <ostream>
#include <string_view>
#include <variant>

#include "cli/command_line.h"
#include "layout/design_driver.h"
#include "layout/simulation/simulation.h"

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

/// What an empty --die gets: the design button does nothing with an empty box.
inline constexpr std::string_view EmptyDieSizeMessage = "晶粒尺寸是空的：請以 --die 輸入晶粒尺寸（mil）。";

/// Prints why a design or simulation run gave nothing to work on (an empty die
/// size, a refused input) and says so; false when it made a layout or outline.
template <typename Outcome>
bool printedRefusal(const Outcome& outcome, std::ostream& err)
{
    if (std::holds_alternative<NothingToDo>(outcome)) {
        err << EmptyDieSizeMessage << '\n';
        return true;
    }
    if (const auto* refusal = std::get_if<Refusal>(&outcome)) {
        err << refusal->prompt << '\n';
        return true;
    }
    return false;
}

/// The same for the simulator (--wafer, --die, --effective).
SimulationInput simulationInputFrom(const Options& options);

} // namespace kerf::cli
