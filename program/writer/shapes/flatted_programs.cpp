// SPDX-License-Identifier: GPL-3.0-or-later
#include "program/writer/shapes/flatted_programs.h"

#include <array>
#include <cmath>

#include "numbers/number_text.h"
#include "program/words/program_lines.h"
#include "program/writer/cutting_order.h"
#include "program/writer/program_units.h"
#include "program/writer/shapes/hexagon_steps.h"

namespace kerf {
namespace {

void moveTo(ProgramWriter& writer, const Decimal& x, const Decimal& y)
{
    writer.line(absoluteMove(x.text(), y.text()));
}

void cutLine(ProgramWriter& writer, const std::string& move)
{
    writer.line(CommandWord::OS);
    writer.line(move);
    writer.line(CommandWord::CS);
}

// Lower edges a hexagon row must cut itself: the first `before` dies and the
// last `after`, those whose lower edges the row below does not close.
struct OpenLowerEdges {
    int before = 0;
    int after = 0;
};

OpenLowerEdges openLowerEdges(const WaferLayout& layout, const LayoutRow& row, const LayoutRow* below)
{
    const int n = row.DieCount;
    const Decimal pitch = layout.DiePitch.toDecimal();
    if (!below || row.RelY.toDecimal() - below->RelY.toDecimal() != layout.RowPitch.toDecimal())
        return {n, 0};
    // Die j's lower edges are the upper edges of dies j + d and j + d + 1 below.
    const double p = pitch.toDouble();
    const long long d = std::llround(((row.RelX.toDecimal() - below->RelX.toDecimal()).toDouble() - p / 2) / p);
    const long long first = std::max<long long>(0, -d);
    const long long last = std::min<long long>(n - 1, below->DieCount - 2 - d);
    if (last < first)
        return {n, 0};
    return {static_cast<int>(first), static_cast<int>(n - 1 - last)};
}

void writeHexagonProgram(std::ostream& out, const WaferLayout& layout, const ProgramParameters& parameters,
                         bool twoWay)
{
    const LayoutTable& rows = layout.RowTable;
    const std::vector<int> order = cuttingOrder(rows);
    ProgramWriter writer(out);
    const HexagonSteps steps = HexagonSteps::of(layout);
    writeHexagonSubroutines(writer, steps, parameters.header.date);
    WriteProgramHeader(writer, parameters.header);
    const Decimal pitch = layout.DiePitch.toDecimal();

    // Cuts `count` dies' worth of `unit` (and back with `back` when two-way).
    const auto cut = [&](int count, SubroutineUnit unit, SubroutineUnit back) {
        writer.line(CommandWord::OS);
        writeUnitCalls(writer, count, unit);
        if (twoWay)
            writeUnitCalls(writer, count, back);
        writer.line(CommandWord::CS);
    };
    for (std::size_t i = 0; i < order.size(); ++i) {
        const LayoutRow& row = rows[order[i]];
        const LayoutRow* below = i + 1 < order.size() ? &rows[order[i + 1]] : nullptr;
        const OpenLowerEdges open = openLowerEdges(layout, row, below);
        const int n = row.DieCount;
        const Decimal left = row.RelX.toDecimal(), y = row.RelY.toDecimal();
        const auto corner = [&](int j) { return left + pitch * j; }; // lower-left corner of die j
        writer.line(commentLine("Row " + integerText(static_cast<long long>(i) + 1)));
        // Rightwards rows (and every two-way row) start at the left and end
        // there after the lower edges; leftwards rows mirror them.
        const bool rightwards = twoWay || i % 2 == 0;
        if (rightwards) {
            moveTo(writer, corner(0), y);
            cut(n, SubroutineUnit::HEX1, SubroutineUnit::HEX2);
            if (twoWay) {
                if (open.before > 0)
                    cut(open.before, SubroutineUnit::HEX3, SubroutineUnit::HEX4);
                if (open.after > 0) {
                    moveTo(writer, corner(n - open.after), y);
                    cut(open.after, SubroutineUnit::HEX3, SubroutineUnit::HEX4);
                }
            } else {
                if (open.after > 0)
                    cut(open.after, SubroutineUnit::HEX4, SubroutineUnit::HEX3);
                if (open.before > 0) {
                    moveTo(writer, corner(open.before), y);
                    cut(open.before, SubroutineUnit::HEX4, SubroutineUnit::HEX3);
                }
            }
        } else {
            moveTo(writer, corner(n), y);
            cut(n, SubroutineUnit::HEX2, SubroutineUnit::HEX1);
            if (open.before > 0)
                cut(open.before, SubroutineUnit::HEX3, SubroutineUnit::HEX4);
            if (open.after > 0) {
                moveTo(writer, corner(n - open.after), y);
                cut(open.after, SubroutineUnit::HEX3, SubroutineUnit::HEX4);
            }
        }
        writer.line(waitLine("0.1"));
    }
    WriteProgramTrailer(writer);
}

} // namespace

void WriteFlattedCircleProgram(std::ostream& out, const WaferLayout& layout, const ProgramParameters& parameters)
{
    const LayoutTable& rows = layout.RowTable;
    const std::vector<int> order = cuttingOrder(rows);
    ProgramWriter writer(out);
    const Decimal pitch = layout.DiePitch.toDecimal();
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
    for (std::size_t i = 0; i < order.size(); ++i) {
        const LayoutRow& row = rows[order[i]];
        const bool odd = i % 2 == 0;
        writer.line(commentLine("Row " + integerText(static_cast<long long>(i) + 1)));
        const Decimal start = odd ? row.RelX.toDecimal() : row.RelX.toDecimal() + pitch * (row.DieCount - 1);
        moveTo(writer, start, row.RelY.toDecimal());
        writeRepeatedCall(writer, row.DieCount, odd ? SubroutineUnit::CIR1 : SubroutineUnit::CIR2);
    }
    WriteProgramTrailer(writer);
}

void WriteFlattedSquareProgram(std::ostream& out, const WaferLayout& layout, const ProgramParameters& parameters)
{
    ProgramWriter writer(out);
    WriteProgramHeader(writer, parameters.header);
    const bool repeated = parameters.CutCount > 1;
    if (repeated)
        writer.line(repeatLine(parameters.CutCount));
    const LayoutPoint& centre = waferCentre();
    const Decimal diePitch = layout.DiePitch.toDecimal();
    const Decimal rowPitch = layout.RowPitch.toDecimal();
    // Lines alternate their direction; a line is cut from its start (x, y)
    // by `length` along its axis, Y up.
    writer.line(commentLine("Row Parts"));
    const std::vector<int> rowOrder = cuttingOrder(layout.RowTable);
    for (std::size_t i = 0; i < rowOrder.size(); ++i) {
        const LayoutRow& line = layout.RowTable[rowOrder[i]];
        const Decimal length = diePitch * line.DieCount;
        const Decimal left = line.PosX.toDecimal() - centre.X, y = centre.Y - line.PosY.toDecimal();
        const bool forwards = i % 2 == 0;
        moveTo(writer, forwards ? left : left + length, y);
        cutLine(writer, relativeMoveX(lengthText(forwards ? length : -length)));
    }
    writer.line(commentLine("Column Parts"));
    const std::vector<int> columnOrder = cuttingOrder(layout.ColumnTable);
    for (std::size_t i = 0; i < columnOrder.size(); ++i) {
        const LayoutRow& line = layout.ColumnTable[columnOrder[i]];
        const Decimal length = rowPitch * line.DieCount;
        const Decimal x = line.PosX.toDecimal() - centre.X, top = centre.Y - line.PosY.toDecimal();
        const bool downwards = i % 2 == 0;
        moveTo(writer, x, downwards ? top : top - length);
        cutLine(writer, relativeMoveY(lengthText(downwards ? -length : length)));
    }
    if (repeated) {
        writer.line(absoluteMoveByAxes("0.0", "0.0"));
        writer.line(CommandWord::EL);
    }
    WriteProgramTrailer(writer);
}

void WriteFlattedHexagonProgramOneWay(std::ostream& out, const WaferLayout& layout,
                                      const ProgramParameters& parameters)
{
    writeHexagonProgram(out, layout, parameters, false);
}

void WriteFlattedHexagonProgramTwoWay(std::ostream& out, const WaferLayout& layout,
                                      const ProgramParameters& parameters)
{
    writeHexagonProgram(out, layout, parameters, true);
}

} // namespace kerf
