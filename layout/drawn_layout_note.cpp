// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/drawn_layout_note.h"

#include "layout/die_shape.h"

namespace kerf {

namespace {

std::string shown(const std::string& text) { return text.empty() ? "（空白）" : text; }

} // namespace

std::optional<std::string> drawnLayoutNote(const DesignTexts& boxes, const DesignTexts& drawn)
{
    if (boxes.waferSize == drawn.waferSize && boxes.effectiveDiameter == drawn.effectiveDiameter &&
        boxes.shape == drawn.shape && boxes.dieSize == drawn.dieSize && boxes.fineTune == drawn.fineTune)
        return std::nullopt;
    std::string note = "設計視窗的方塊與畫出的排列不同，程式會依畫出的排列寫出：晶片尺寸 " + shown(drawn.waferSize) +
                       "，有效直徑 " + shown(drawn.effectiveDiameter) + " 英吋，晶粒形狀 " + shown(drawn.shape) +
                       "，晶粒尺寸 " + shown(drawn.dieSize) + " mil";
    const std::optional<DieShape> shape = shapeFromText(drawn.shape);
    if (shape && usesFineTune(*shape))
        note += "，切割微調值 " + shown(drawn.fineTune) + " mil";
    return note + "。";
}

} // namespace kerf
