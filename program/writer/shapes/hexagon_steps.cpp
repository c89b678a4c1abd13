// SPDX-License-Identifier: GPL-3.0-or-later
#include "hexagon_steps.h"

#include <array>

#include "numbers/halved_to_even.h"
#include "program/writer/program_units.h"
#include "numbers/number_text.h"
#include "program/words/program_lines.h"

namespace kerf {

HexagonSteps HexagonSteps::of(const WaferLayout& layout)
{
    return {layout.HalfDieSize, layout.HexHalfSide.toDouble()};
}

std::string HexagonSteps::x(int m) const
{
    return singleText(static_cast<float>(static_cast<double>(a) * m));
}

std::string HexagonSteps::y(int m) const
{
    return doubleText(h * m);
}

std::string HexagonSteps::move(int mx, int my) const
{
    if (mx == 0)
        return relativeMoveY(y(my));
    return relativeMove(x(mx), y(my));
}

void writeHexagonSubroutines(ProgramWriter& out, const HexagonSteps& steps, std::chrono::year_month_day date)
{
    const std::array<std::string, 4> upperRightwards = {steps.move(0, 2), steps.move(1, 1),
                                                        steps.move(1, -1), steps.move(0, -2)};
    const std::array<std::string, 4> upperLeftwards = {steps.move(0, 2), steps.move(-1, 1),
                                                       steps.move(-1, -1), steps.move(0, -2)};
    const std::array<std::string, 2> lowerRightwards = {steps.move(1, -1), steps.move(1, 1)};
    const std::array<std::string, 2> lowerLeftwards = {steps.move(-1, -1), steps.move(-1, 1)};
    writeSubroutineUnit(out, SubroutineUnit::HEX1, "First Hexagon Subroutine", date, upperRightwards);
    writeSubroutineUnit(out, SubroutineUnit::HEX2, "Second Hexagon Subroutine", date, upperLeftwards);
    writeSubroutineUnit(out, SubroutineUnit::HEX3, "Third Hexagon Subroutine", date, lowerRightwards);
    writeSubroutineUnit(out, SubroutineUnit::HEX4, "Forth Hexagon Subroutine", date, lowerLeftwards);
}

void writeUnitCalls(ProgramWriter& out, int count, SubroutineUnit unit)
{
    if (count > 1)
        writeRepeatedCall(out, count, unit);
    else
        out.line(unitCallLine(wordText(unit)));
}

int endCutDies(int diff)
{
    return diff > 1 ? halvedToEven(diff - 1) : 0;
}

HexagonSteps writeHexagonOpening(ProgramWriter& out, const WaferLayout& layout, const ProgramHeader& header,
                                 const std::vector<int>& order)
{
    const HexagonSteps steps = HexagonSteps::of(layout);
    writeHexagonSubroutines(out, steps, header.date);
    WriteProgramHeader(out, header);
    const LayoutRow& top = layout.RowTable[order.front()];
    out.line(absoluteMove(top.RelX.text(), top.RelY.text()));
    return steps;
}

} // namespace kerf
