#include "layout/design_driver.h"

#include "layout/die_layouts.h"
#include "layout/input_checks.h"
#include "numbers/number_text.h"

namespace kerf {
namespace {

constexpr float kWaferDiameters[] = {2.0f, 2.5f, 3.0f, 4.0f, 5.0f};

} // namespace

WaferSizeChoice chooseWaferSize(std::string_view itemText, float currentDiameter)
{
    WaferSizeChoice choice;
    choice.WaferDiameter = currentDiameter;
    for (std::size_t i = 0; i < WaferSizeItems.size(); ++i)
        if (itemText == WaferSizeItems[i])
            choice.WaferDiameter = kWaferDiameters[i];
    choice.effectiveText = doubleText(double(choice.WaferDiameter) * 0.95);
    choice.WaferRadius = choice.WaferDiameter / 2;
    return choice;
}

DesignOutcome runDesign(const DesignInput& input)
{
    const DesignTexts& texts = input.texts;
    if (texts.dieSize.empty())
        return NothingToDo{};

    WaferLayout layout;
    layout.texts = texts;
    layout.WaferDiameter = input.WaferDiameter;

    if (texts.effectiveDiameter.empty()) {
        layout.EffectiveDiameter = input.WaferDiameter;
    } else {
        const auto effective = readSingleBox(texts.effectiveDiameter, InputBox::EffectiveDiameter);
        if (const Refusal* refusal = std::get_if<Refusal>(&effective))
            return *refusal;
        layout.EffectiveDiameter = std::get<float>(effective);
    }
    layout.EffectiveRadius = layout.EffectiveDiameter / 2;

    const auto dieSize = readSingleBox(texts.dieSize, InputBox::DieSize);
    if (const Refusal* refusal = std::get_if<Refusal>(&dieSize))
        return *refusal;
    layout.DieSize = std::get<float>(dieSize) / 1000;
    layout.HalfDieSize = layout.DieSize / 2;

    double fineTune = 0;
    if (texts.fineTune.empty()) {
        layout.FineTune = Number::ofInteger(0);
    } else {
        const auto typed = readDoubleBox(texts.fineTune, InputBox::FineTune);
        if (const Refusal* refusal = std::get_if<Refusal>(&typed))
            return *refusal;
        fineTune = std::get<double>(typed) / 1000;
        layout.FineTune = Number::ofDouble(fineTune);
    }

    if (layout.DieSize >= layout.EffectiveDiameter || fineTune >= layout.EffectiveDiameter)
        return Refusal{"晶粒尺寸或微調值不合常理，請確認正確數值。", std::string(InputErrorTitle),
                       InputBox::DieSize};
    if (!(layout.EffectiveDiameter <= input.WaferDiameter))
        return Refusal{"晶片有效直徑大於實際直徑，請確認正確數值。", std::string(InputErrorTitle),
                       InputBox::EffectiveDiameter};
    if (!(layout.DieSize > 0))
        return dieSizeNotPositive();

    LayoutFailure failure = LayoutFailure::None;
    if (texts.shape == "Circle") {
        layout.shape = DieShape::Circle;
        failure = LayoutCircleDies(layout);
    } else if (texts.shape == "Hexagon") {
        layout.shape = DieShape::Hexagon;
        failure = LayoutHexagonDies(layout);
    } else if (texts.shape == "Square") {
        layout.shape = DieShape::Square;
        failure = LayoutSquareRows(layout);
        if (failure == LayoutFailure::None)
            failure = LayoutSquareColumns(layout);
    } else {
        return OutlineOnly{};
    }
    if (const auto refusal = refusalFor(failure))
        return *refusal;

    Design design{std::move(layout), {}};
    design.results = layoutResults(design.layout);
    return design;
}

} // namespace kerf
