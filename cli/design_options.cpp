#include "cli/design_options.h"

#include <algorithm>

namespace kerf::cli {
namespace {

// The wafer size as chosen from the list: its diameter and the text it puts
// into the effective diameter box.
WaferSizeChoice chosenWaferSize(const Options& options)
{
    const auto wafer = options.get("wafer");
    if (!wafer)
        return chooseWaferSize("", 0); // no size chosen: the box stays empty below
    if (std::find(WaferSizeItems.begin(), WaferSizeItems.end(), *wafer) == WaferSizeItems.end()) {
        std::string items;
        for (auto item : WaferSizeItems)
            items += (items.empty() ? "\"" : ", \"") + std::string(item) + "\"";
        throw UsageError("--wafer must be one of " + items);
    }
    return chooseWaferSize(*wafer, 0);
}

} // namespace

DesignInput designInputFrom(const Options& options)
{
    const WaferSizeChoice size = chosenWaferSize(options);
    DesignInput input;
    input.WaferDiameter = size.WaferDiameter;
    input.texts.waferSize = options.get("wafer").value_or("");
    input.texts.effectiveDiameter =
        options.get("effective").value_or(options.has("wafer") ? size.effectiveText : "");
    input.texts.shape = options.get("shape").value_or("");
    input.texts.dieSize = options.require("die");
    input.texts.fineTune = options.get("gap").value_or("");
    return input;
}

SimulationInput simulationInputFrom(const Options& options)
{
    const WaferSizeChoice size = chosenWaferSize(options);
    SimulationInput boxes;
    boxes.WaferDiameter = size.WaferDiameter;
    boxes.dieSize = options.require("die");
    boxes.effectiveDiameter = options.get("effective").value_or(options.has("wafer") ? size.effectiveText : "");
    return boxes;
}

} // namespace kerf::cli
