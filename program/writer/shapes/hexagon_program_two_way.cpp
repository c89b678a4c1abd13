#include "hexagon_program_two_way.h"

#include <initializer_list>
#include <string_view>

#include "program/writer/cutting_order.h"
#include "program/writer/shapes/hexagon_steps.h"
#include "program/writer/program_units.h"
#include "numbers/number_text.h"

namespace kerf {
namespace {

// Cuts the lower edges of the k outermost dies and the lower edge of the
// next one, there and back: `out` and `back` are the HEX units that walk
// away from and towards the row's end, `toward` the X sign into the row.
void writeEndCuts(ProgramWriter& writer, const HexagonSteps& steps, int diff, const char* out,
                  const char* back, int toward)
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
        writer.line("# Row " + integerText(static_cast<long long>(i) + 1));
        writer.line("OS");
        writeEndCuts(writer, steps, diff, "HEX3", "HEX4", 1);
        writer.line("SL " + integerText(row.DieCount));
        writer.line("HEX1");
        writer.line("EL");
        writeEndCuts(writer, steps, diff, "HEX4", "HEX3", -1);
        writer.line("SL " + integerText(row.DieCount));
        writer.line("HEX2");
        writer.line("EL");
        writer.line("CS");
        writer.line("WT 0.1");
        if (hasNext) {
            const Decimal dx = rows[order[i + 1]].RelX.toDecimal() - row.RelX.toDecimal();
            writer.line("MI X " + dx.text() + " Y " + steps.y(-3));
        }
    }

    const std::string dies = "SL " + integerText(rows[order.back()].DieCount);
    for (std::string_view line : std::initializer_list<std::string_view>{
             "# Final Row", "OS", dies, "HEX3", "EL", dies, "HEX4", "EL", "CS"})
        writer.line(line);
    WriteProgramTrailer(writer);
}

} // namespace kerf
