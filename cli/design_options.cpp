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

// The wafer size as chosen from the list: its diameter and the text it puts
// into the effective diameter box.
WaferSizeChoice chosenWaferSize(const DesignBoxes& boxes)
{
    return chooseWaferSize(boxes.wafer.value_or(""), 0); // no size chosen: the box stays empty below
}

std::string effectiveText(const DesignBoxes& boxes, const WaferSizeChoice& size)
{
    return boxes.effective.value_or(boxes.wafer ? size.effectiveText : "");
}

} // namespace

void addWaferOption(CLI::App& app, DesignBoxes& boxes)
{
    addTextOption(app, "--wafer", boxes.wafer, "SIZE", "晶片直徑，清單的一項：" + waferSizeList())
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

void addDieOption(CLI::App& app, DesignBoxes& boxes)
{
    addTextOption(app, "--die", boxes.die, "MIL", "晶粒尺寸（mil）")->required();
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

CLI::Option* addDesignOptions(CLI::App& app, DesignBoxes& boxes)
{
    addWaferOption(app, boxes);
    CLI::Option* shape = addShapeOption(app, boxes);
    addDieOption(app, boxes);
    addGapOption(app, boxes);
    addEffectiveOption(app, boxes);
    return shape;
}

DesignInput designInputFrom(const DesignBoxes& boxes)
{
    const WaferSizeChoice size = chosenWaferSize(boxes);
    DesignInput input;
    input.WaferDiameter = size.WaferDiameter;
    input.texts.waferSize = boxes.wafer.value_or("");
    input.texts.effectiveDiameter = effectiveText(boxes, size);
    input.texts.shape = boxes.shape.value_or("");
    input.texts.dieSize = boxes.die;
    input.texts.fineTune = boxes.gap.value_or("");
    return input;
}

SimulationInput simulationInputFrom(const DesignBoxes& boxes)
{
    const WaferSizeChoice size = chosenWaferSize(boxes);
    SimulationInput input;
    input.WaferDiameter = size.WaferDiameter;
    input.dieSize = boxes.die;
    input.effectiveDiameter = effectiveText(boxes, size);
    return input;
}

} // namespace kerf::cli
