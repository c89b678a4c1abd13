// SPDX-License-Identifier: GPL-3.0-or-later
#include "circle_program.h"

#include <array>

#include "program/writer/cutting_order.h"
#include "program/writer/program_units.h"
#include "numbers/number_text.h"
#include "program/words/program_lines.h"

namespace kerf {

void WriteCircleProgram(std::ostream& out, const WaferLayout& layout, const ProgramParameters& parameters)
{
    const LayoutTable& rows = layout.RowTable;
    const std::vector<int> order = cuttingOrder(rows);
    ProgramWriter writer(out);
    const Decimal pitch = layout.DiePitch.toDecimal();
    const Decimal halfPitch = pitch.half();
    const std::string arc = arcMove(singleText(layout.HalfDieSize), "0.0", angleText(360LL * parameters.CutCount),
                                    parameters.VEL, parameters.ACC);
    const std::string open(wordText(CommandWord::OS));
    const std::string close(wordText(CommandWord::CS));
    const std::string wait = waitLine("0.1");
    const std::array<std::string, 5> rightwards = {open, arc, close, wait, relativeMoveX(pitch.text())};
    const std::array<std::string, 5> leftwards = {open, arc, close, wait, relativeMoveX((-pitch).text())};
    const auto date = parameters.header.date;
    writeSubroutineUnit(writer, SubroutineUnit::CIR1, "First Circle Subroutine", date, rightwards);
    writeSubroutineUnit(writer, SubroutineUnit::CIR2, "Second Circle Subroutine", date, leftwards);

    WriteProgramHeader(writer, parameters.header);
    const LayoutRow& top = rows[order.front()];
    writer.line(absoluteMove(top.RelX.text(), top.RelY.text()));

    const std::string rowStep = (-layout.RowPitch.toDecimal()).text();
    for (std::size_t i = 0; i < order.size(); ++i) {
        const int rowNo = static_cast<int>(i) + 1;
        const bool odd = rowNo % 2 == 1;
        const LayoutRow& row = rows[order[i]];
        writer.line(commentLine("Row " + integerText(rowNo)));
        writeRepeatedCall(writer, row.DieCount, odd ? SubroutineUnit::CIR1 : SubroutineUnit::CIR2);
        if (i + 1 == order.size())
            continue;
        // After a row cut in one direction the head stands one pitch past its
        // last die; the next row starts (Diff − 2) half pitches further on.
        const int diff = rows[order[i + 1]].DieCount - row.DieCount;
        if (diff != 0)
            writer.line(relativeMove((halfPitch * (odd ? diff - 2 : 2 - diff)).text(), rowStep));
    }
    WriteProgramTrailer(writer);
}

} // namespace kerf
