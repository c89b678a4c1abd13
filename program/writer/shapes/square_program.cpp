// SPDX-License-Identifier: GPL-3.0-or-later
#include "square_program.h"

#include "program/writer/cutting_order.h"
#include "numbers/halved_to_even.h"
#include "numbers/negated_number.h"
#include "program/writer/program_units.h"
#include "numbers/number_text.h"
#include "program/words/program_lines.h"

namespace kerf {
namespace {

enum class LineKind { Row, Column };

// Lines are centred: after a line cut in direction s the head stands at its
// end, and the next line, 2 × Half pitches longer, starts Half pitches
// further out on the same side.
void writeLines(ProgramWriter& writer, const WaferLayout& layout, const LayoutTable& lines,
                const std::vector<int>& order, LineKind kind)
{
    const LayoutRow& first = lines[order.front()];
    writer.line(absoluteMove(first.RelX.text(), first.RelY.text()));
    writer.line(commentLine(kind == LineKind::Row ? "Row Parts" : "Column Parts"));

    const Decimal diePitch = layout.DiePitch.toDecimal();
    const Decimal rowPitch = layout.RowPitch.toDecimal();
    const std::string rowStep = negated(layout.RowPitch).text();
    const std::string columnStep = negated(layout.DiePitch).text();
    for (std::size_t i = 0; i < order.size(); ++i) {
        const int s = i % 2 == 0 ? 1 : -1; // odd line numbers run in the positive direction
        const LayoutRow& line = lines[order[i]];
        writer.line(CommandWord::OS);
        if (kind == LineKind::Row)
            writer.line(relativeMoveX(lengthText(diePitch * (line.DieCount * s))));
        else
            writer.line(relativeMoveY(lengthText(rowPitch * (line.DieCount * s))));
        writer.line(CommandWord::CS);
        if (i + 1 == order.size())
            continue;
        const int half = halvedToEven(lines[order[i + 1]].DieCount - line.DieCount);
        const std::string offset = lengthText(diePitch * (half * s));
        if (kind == LineKind::Row)
            writer.line(half == 0 ? relativeMoveY(rowStep) : relativeMove(offset, rowStep));
        else
            writer.line(half == 0 ? relativeMoveX(columnStep) : relativeMove(columnStep, offset));
    }
}

} // namespace

void WriteSquareProgram(std::ostream& out, const WaferLayout& layout, const ProgramParameters& parameters)
{
    const std::vector<int> rowOrder = cuttingOrder(layout.RowTable);
    const std::vector<int> columnOrder = cuttingOrder(layout.ColumnTable);
    ProgramWriter writer(out);
    WriteProgramHeader(writer, parameters.header);
    const bool repeated = parameters.CutCount > 1;
    if (repeated)
        writer.line(repeatLine(parameters.CutCount));
    writeLines(writer, layout, layout.RowTable, rowOrder, LineKind::Row);
    writeLines(writer, layout, layout.ColumnTable, columnOrder, LineKind::Column);
    if (repeated) {
        writer.line(absoluteMoveByAxes("0.0", "0.0"));
        writer.line(CommandWord::EL);
    }
    WriteProgramTrailer(writer);
}

} // namespace kerf
