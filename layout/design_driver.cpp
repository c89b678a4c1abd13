// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/design_driver.h"

#include "layout/die_area.h"
#include "layout/die_layouts.h"
#include "layout/flat_checks.h"
#include "layout/flat_trim.h"
#include "layout/input_checks.h"
#include "layout/line_layout.h"
#include "numbers/number_text.h"

namespace kerf {
namespace {

constexpr float WaferDiameters[] = {2.0f, 2.5f, 3.0f, 4.0f, 5.0f};

} // namespace

WaferSizeChoice chooseWaferSize(std::string_view itemText, float currentDiameter)
{
    WaferSizeChoice choice;
    choice.WaferDiameter = currentDiameter;
    for (std::size_t i = 0; i < WaferSizeItems.size(); ++i)
        if (itemText == WaferSizeItems[i])
            choice.WaferDiameter = WaferDiameters[i];
    choice.effectiveText = doubleText(double(choice.WaferDiameter) * 0.95);
    choice.WaferRadius = choice.WaferDiameter / 2;
    return choice;
}

namespace {

/// The design button's checks of the boxes: the layout with its inputs and
/// shape set, ready to be laid out, or what the button does instead.
std::variant<WaferLayout, DesignOutcome> checkedLayout(const DesignInput& input)
{
    const DesignTexts& texts = input.texts;
    if (texts.dieSize.empty())
        return NothingToDo{};

    WaferLayout layout;
    layout.texts = texts;
    layout.WaferDiameter = input.WaferDiameter;

    const auto effective = readEffectiveDiameter(texts.effectiveDiameter, input.WaferDiameter);
    if (const Refusal* refusal = std::get_if<Refusal>(&effective))
        return *refusal;
    layout.EffectiveDiameter = std::get<float>(effective);
    layout.EffectiveRadius = layout.EffectiveDiameter / 2;

    const auto dieSize = readDieSize(texts.dieSize);
    if (const Refusal* refusal = std::get_if<Refusal>(&dieSize))
        return *refusal;
    layout.DieSize = std::get<float>(dieSize);
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
    const auto flats = readFlats(input.flats, layout.WaferDiameter);
    if (const Refusal* refusal = std::get_if<Refusal>(&flats))
        return *refusal;
    layout.flats = std::get<WaferFlats>(flats);

    const std::optional<DieShape> shape = shapeFromText(texts.shape);
    if (!shape)
        return OutlineOnly{};
    layout.shape = *shape;
    return layout;
}

} // namespace

DesignOutcome runDesign(const DesignInput& input)
{
    auto checked = checkedLayout(input);
    if (auto* outcome = std::get_if<DesignOutcome>(&checked))
        return std::move(*outcome);
    WaferLayout& layout = std::get<WaferLayout>(checked);
    LayoutFailure failure = LayoutFailure::None;
    switch (layout.shape) {
    case DieShape::Circle: failure = LayoutCircleDies(layout); break;
    case DieShape::Hexagon: failure = LayoutHexagonDies(layout); break;
    case DieShape::Square:
        failure = LayoutSquareRows(layout);
        if (failure == LayoutFailure::None)
            failure = LayoutSquareColumns(layout);
        break;
    }
    if (failure == LayoutFailure::None && !layout.flats.empty()) {
        trimByFlats(layout, keepOutLines(layout.flats, layout.WaferDiameter, layout.EffectiveRadius));
        if (layout.RowTable.upperBound() == 0 || dieTotal(layout) == 0)
            failure = LayoutFailure::FlatsLeaveNoDie;
    }
    if (const auto refusal = refusalFor(failure))
        return *refusal;

    Design design{std::move(layout), {}};
    design.results = layoutResults(design.layout);
    return design;
}

DesignResultsOutcome designResults(const DesignInput& input)
{
    auto checked = checkedLayout(input);
    if (auto* outcome = std::get_if<DesignOutcome>(&checked)) {
        if (auto* refusal = std::get_if<Refusal>(outcome))
            return std::move(*refusal);
        if (std::holds_alternative<OutlineOnly>(*outcome))
            return OutlineOnly{};
        return NothingToDo{};
    }
    WaferLayout& layout = std::get<WaferLayout>(checked);
    if (!layout.flats.empty()) {
        DesignOutcome outcome = runDesign(input);
        if (auto* design = std::get_if<Design>(&outcome))
            return DesignedResults{design->results, dieAreaCm2(design->layout)};
        if (auto* refusal = std::get_if<Refusal>(&outcome))
            return std::move(*refusal);
        return NothingToDo{};
    }
    LineCounts rows;
    if (const auto refusal = refusalFor(CountLayoutRows(layout, rows)))
        return *refusal;
    const long long dies = rows.dies - (layout.shape == DieShape::Square ? rows.firstCount : 0);
    return DesignedResults{layoutResults(layout, rows.records, dies), dieAreaCm2(layout)};
}

} // namespace kerf
