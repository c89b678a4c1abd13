// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/die_shape.h"

namespace kerf {

const char* shapeText(DieShape shape)
{
    switch (shape) {
    case DieShape::Circle: return "Circle";
    case DieShape::Hexagon: return "Hexagon";
    case DieShape::Square: return "Square";
    }
    return "";
}

std::optional<DieShape> shapeFromText(std::string_view text)
{
    for (DieShape shape : {DieShape::Circle, DieShape::Hexagon, DieShape::Square})
        if (text == shapeText(shape))
            return shape;
    return std::nullopt;
}

bool usesFineTune(DieShape shape) { return shape == DieShape::Circle; }

} // namespace kerf
