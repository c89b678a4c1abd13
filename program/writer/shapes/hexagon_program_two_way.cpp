// SPDX-License-Identifier: GPL-3.0-or-later
#include "hexagon_program_two_way.h"

#include "program/writer/cutting_order.h"
#include "program/writer/shapes/hexagon_steps.h"
#include "program/writer/program_units.h"
#include "numbers/number_text.h"
#include "program/words/program_lines.h"

namespace kerf {
namespace {

// Cuts the lower edges of the k outermost dies and the lower edge of the
// next one, there and back: `out` and `back` are the HEX units that walk
// away from and towards the row's end, `toward` the X sign into the row.
void writeEndCuts(ProgramWriter& writer, const HexagonSteps& steps, int diff, SubroutineUnit out,
                  SubroutineUnit back, int toward)
{
    const int k = endCutDies(diff);
    if (diff != 1 && k == 0)
        return;
    if (k > 0)
        writeUnitCalls(writer, k, out);
    writer.line(steps.move(toward, -1));
    writer.line(steps.move(-toward, 1));
    if (k > 0)
        writeUnitCalls(writer, k, back);
}

} // namespace

void WriteHexagonProgramTwoWay(std::ostream& out, const WaferLayout& layout, const ProgramParameters& parameters)
{
    const LayoutTable& rows = layout.RowTable;
    const std::vector<int> order = cuttingOrder(rows);
    ProgramWriter writer(out);
    const HexagonSteps steps = writeHexagonOpening(writer, layout, parameters.header, order);

    for (std::size_t i = 0; i < order.size(); ++i) {
        const LayoutRow& row = rows[order[i]];
        const bool hasNext = i + 1 < order.size();
        const int diff = hasNext ? row.DieCount - rows[order[i + 1]].DieCount : 0;
        writer.line(commentLine("Row " + integerText(static_cast<long long>(i) + 1)));
        writer.line(CommandWord::OS);
        writeEndCuts(writer, steps, diff, SubroutineUnit::HEX3, SubroutineUnit::HEX4, 1);
        writeRepeatedCall(writer, row.DieCount, SubroutineUnit::HEX1);
        writeEndCuts(writer, steps, diff, SubroutineUnit::HEX4, SubroutineUnit::HEX3, -1);
        writeRepeatedCall(writer, row.DieCount, SubroutineUnit::HEX2);
        writer.line(CommandWord::CS);
        writer.line(waitLine("0.1"));
        if (hasNext) {
            const Decimal dx = rows[order[i + 1]].RelX.toDecimal() - row.RelX.toDecimal();
            writer.line(relativeMove(dx.text(), steps.y(-3)));
        }
    }

    const int bottomDies = rows[order.back()].DieCount;
    writer.line(commentLine("Final Row"));
    writer.line(CommandWord::OS);
    writeRepeatedCall(writer, bottomDies, SubroutineUnit::HEX3);
    writeRepeatedCall(writer, bottomDies, SubroutineUnit::HEX4);
    writer.line(CommandWord::CS);
    WriteProgramTrailer(writer);
}

} // namespace kerf
