#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <variant>

#include "cli/command_line.h"
#include "layout/design_driver.h"
#include "layout/simulation/simulation.h"

namespace kerf::cli {

/// The designer's boxes as the command line fills them, each text as typed:
/// --wafer chooses a size list item, which also puts its
/// effective diameter into the box unless --effective gives the box's text.
struct DesignBoxes {
    std::optional<std::string> wafer;
    std::optional<std::string> effective;
    std::optional<std::string> shape;
    std::optional<std::string> gap;
    std::string die;
};

/// --wafer SIZE, required; a text that is not a size list item is a usage error.
void addWaferOption(CLI::App& app, DesignBoxes& boxes);
/// --shape SHAPE, an item of the shape list; anything else is a usage error.
CLI::Option* addShapeOption(CLI::App& app, DesignBoxes& boxes);
/// --die MIL, required.
void addDieOption(CLI::App& app, DesignBoxes& boxes);
void addGapOption(CLI::App& app, DesignBoxes& boxes);
void addEffectiveOption(CLI::App& app, DesignBoxes& boxes);
/// --wafer, --shape, --die, --gap and --effective, in that order.
CLI::Option* addDesignOptions(CLI::App& app, DesignBoxes& boxes);

/// The designer's inputs as the window would hold them after the boxes were filled.
DesignInput designInputFrom(const DesignBoxes& boxes);
/// The same for the simulator (--wafer, --die, --effective).
SimulationInput simulationInputFrom(const DesignBoxes& boxes);

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

} // namespace kerf::cli
