// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <variant>

#include "cli/command_line.h"
#include "job/job.h"
#include "layout/design_driver.h"
#include "layout/simulation/simulation.h"

namespace kerf::cli {

/// The designer's boxes as the command line fills them, each text as typed,
/// the keys of a job's designer section: --wafer chooses a size list item
/// (none without it), which also puts its effective diameter into the box
/// unless --effective gives the box's text.
using DesignBoxes = JobDesigner;

/// --wafer SIZE, required; a text that is not a size list item is a usage error.
CLI::Option* addWaferOption(CLI::App& app, DesignBoxes& boxes);
/// --shape SHAPE, an item of the shape list; anything else is a usage error.
CLI::Option* addShapeOption(CLI::App& app, DesignBoxes& boxes);
/// --die MIL, required.
CLI::Option* addDieOption(CLI::App& app, DesignBoxes& boxes);
void addGapOption(CLI::App& app, DesignBoxes& boxes);
void addEffectiveOption(CLI::App& app, DesignBoxes& boxes);
/// The options of the designer's boxes that a command makes required.
struct DesignOptions {
    CLI::Option* wafer = nullptr;
    CLI::Option* shape = nullptr;
    CLI::Option* die = nullptr;
};
/// --wafer, --shape, --die, --gap and --effective, in that order.
DesignOptions addDesignOptions(CLI::App& app, DesignBoxes& boxes);

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
