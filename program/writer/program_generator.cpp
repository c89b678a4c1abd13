// SPDX-License-Identifier: GPL-3.0-or-later
#include "program_generator.h"

#include "program/writer/shapes/circle_program.h"
#include "program/writer/shapes/flatted_programs.h"
#include "program/writer/shapes/hexagon_program_one_way.h"
#include "program/writer/shapes/hexagon_program_two_way.h"
#include "program/writer/shapes/square_program.h"

namespace kerf {

ProgramGenerator generatorFor(DieShape shape, std::int16_t cutCount)
{
    switch (shape) {
    case DieShape::Circle: return &WriteCircleProgram;
    case DieShape::Hexagon:
        return cutCount % 2 != 0 ? &WriteHexagonProgramOneWay : &WriteHexagonProgramTwoWay;
    case DieShape::Square: return &WriteSquareProgram;
    }
    return &WriteCircleProgram;
}

ProgramGenerator generatorFor(const WaferLayout& layout, std::int16_t cutCount)
{
    if (layout.flats.empty())
        return generatorFor(layout.shape, cutCount);
    switch (layout.shape) {
    case DieShape::Circle: return &WriteFlattedCircleProgram;
    case DieShape::Hexagon:
        return cutCount % 2 != 0 ? &WriteFlattedHexagonProgramOneWay : &WriteFlattedHexagonProgramTwoWay;
    case DieShape::Square: return &WriteFlattedSquareProgram;
    }
    return &WriteFlattedCircleProgram;
}

} // namespace kerf
