// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/design_options.h"

#include <algorithm>

namespace kerf::cli {
namespace {

// The size list's items, «「2.0 Inches」、「2.5 Inches」…».
std::string waferSizeList()
{
    std::string items;
    for (auto item : WaferSizeItems)
        items += (items.empty() ? "「" : "、「") + std::string(item) + "」";
    return items;
}

} // namespace

CLI::Option* addWaferOption(CLI::App& app, DesignBoxes& boxes)
{
    return addTextOption(app, "--wafer", boxes.wafer, "SIZE", "晶片直徑，清單的一項：" + waferSizeList())
        ->required()
        ->each([](const std::string& text) {
            if (std::find(WaferSizeItems.begin(), WaferSizeItems.end(), text) == WaferSizeItems.end())
                throw UsageError("--wafer 必須是晶片直徑清單的一項：" + waferSizeList() + "。");
        });
}

CLI::Option* addShapeOption(CLI::App& app, DesignBoxes& boxes)
{
    return addTextOption(app, "--shape", boxes.shape, "SHAPE", "晶粒形狀：Circle、Hexagon 或 Square")
        ->each([](const std::string& text) {
            if (std::find(DieShapeItems.begin(), DieShapeItems.end(), text) == DieShapeItems.end())
                throw UsageError("--shape 必須是 Circle、Hexagon 或 Square（大小寫照寫）。");
        });
}

CLI::Option* addDieOption(CLI::App& app, DesignBoxes& boxes)
{
    return addTextOption(app, "--die", boxes.die, "MIL", "晶粒尺寸（mil）")->required();
}

void addGapOption(CLI::App& app, DesignBoxes& boxes)
{
    addTextOption(app, "--gap", boxes.gap, "MIL", "切割微調值（mil）");
}

void addEffectiveOption(CLI::App& app, DesignBoxes& boxes)
{
    addTextOption(app, "--effective", boxes.effective, "INCHES",
                  "有效直徑（英吋；預設為所選尺寸的 0.95 倍，\"\" 為清空的方塊，即標稱直徑）");
}

DesignOptions addDesignOptions(CLI::App& app, DesignBoxes& boxes)
{
    DesignOptions options;
    options.wafer = addWaferOption(app, boxes);
    options.shape = addShapeOption(app, boxes);
    options.die = addDieOption(app, boxes);
    addGapOption(app, boxes);
    addEffectiveOption(app, boxes);
    return options;
}

DesignInput designInputFrom(const DesignBoxes& boxes) { return designInputOf(boxes); }

SimulationInput simulationInputFrom(const DesignBoxes& boxes)
{
    const DesignInput design = designInputOf(boxes);
    SimulationInput input;
    input.WaferDiameter = design.WaferDiameter;
    input.dieSize = design.texts.dieSize;
    input.effectiveDiameter = design.texts.effectiveDiameter;
    return input;
}

} // namespace kerf::cli
