// SPDX-License-Identifier: GPL-3.0-or-later
#include "hexagon_program_one_way.h"

#include "program/writer/cutting_order.h"
#include "program/writer/shapes/hexagon_row_move.h"
#include "program/writer/program_units.h"
#include "numbers/number_text.h"
#include "program/words/program_lines.h"

namespace kerf {
namespace {

// An odd row enters at its left end and leaves at its right end, cutting the
// lower edges there with HEX4; an even row is the mirror image with HEX3.
// Their single-edge moves run leftwards in odd rows, rightwards in even ones.
void writeRow(ProgramWriter& writer, const HexagonSteps& steps, int dies, int diff, RowParity parity)
{
    const bool odd = parity == RowParity::Odd;
    const SubroutineUnit endUnit = odd ? SubroutineUnit::HEX4 : SubroutineUnit::HEX3;
    const int outward = odd ? -1 : 1;
    const int k = endCutDies(diff);
    const bool endCuts = diff == 1 || k > 0;

    if (endCuts)
        writer.line(steps.move(outward, 1));
    if (k > 0)
        writeUnitCalls(writer, k, endUnit);
    writeRepeatedCall(writer, dies, odd ? SubroutineUnit::HEX1 : SubroutineUnit::HEX2);
    if (k > 0)
        writeUnitCalls(writer, k, endUnit);
    if (endCuts)
        writer.line(steps.move(outward, -1));
}

} // namespace

void WriteHexagonProgramOneWay(std::ostream& out, const WaferLayout& layout, const ProgramParameters& parameters)
{
    const LayoutTable& rows = layout.RowTable;
    const std::vector<int> order = cuttingOrder(rows);
    ProgramWriter writer(out);
    const HexagonSteps steps = writeHexagonOpening(writer, layout, parameters.header, order);

    const auto dies = [&](std::size_t i) { return static_cast<int>(rows[order[i]].DieCount); };
    for (std::size_t i = 0; i < order.size(); ++i) {
        const RowParity parity = i % 2 == 0 ? RowParity::Odd : RowParity::Even;
        const bool hasNext = i + 1 < order.size();
        writer.line(commentLine("Row " + integerText(static_cast<long long>(i) + 1)));
        writer.line(CommandWord::OS);
        writeRow(writer, steps, dies(i), hasNext ? dies(i) - dies(i + 1) : 0, parity);
        writer.line(CommandWord::CS);
        writer.line(waitLine("0.1"));
        if (hasNext) {
            RowMoveCounts counts{dies(i), dies(i + 1), std::nullopt};
            if (i + 2 < order.size())
                counts.afterNext = dies(i + 2);
            writer.line(WriteHexagonRowMove(steps, parity, counts));
        }
    }

    writer.line(commentLine("Final Row"));
    writer.line(CommandWord::OS);
    writeRepeatedCall(writer, dies(order.size() - 1), SubroutineUnit::HEX4);
    writer.line(CommandWord::CS);
    WriteProgramTrailer(writer);
}

} // namespace kerf
