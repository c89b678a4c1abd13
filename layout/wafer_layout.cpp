#include "layout/wafer_layout.h"

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

} // namespace kerf
