#include "cli/layout_json.h"

#include "cli/json_text.h"

namespace kerf::cli {
namespace {

void writeNumber(std::ostream& out, const Number& value)
{
    if (value.isEmpty())
        out << "null";
    else
        out << jsonString(value.text());
}

void writeTable(std::ostream& out, const LayoutTable& table)
{
    out << '[';
    for (int i = 1; i <= table.upperBound(); ++i) {
        const LayoutRow& row = table[i];
        out << (i > 1 ? ", " : "") << "{\"DieCount\": " << row.DieCount << ", \"PosX\": ";
        writeNumber(out, row.PosX);
        out << ", \"PosY\": ";
        writeNumber(out, row.PosY);
        out << ", \"RelX\": ";
        writeNumber(out, row.RelX);
        out << ", \"RelY\": ";
        writeNumber(out, row.RelY);
        out << '}';
    }
    out << ']';
}

void writeResults(std::ostream& out, const LayoutResults& results)
{
    out << "\"results\": {\"rows\": " << jsonString(results.rows) << ", \"dies\": " << jsonString(results.dies)
        << ", \"utilisation\": " << jsonString(results.utilisation) << "}";
}

void writeLayoutObject(std::ostream& out, std::string_view shape, const Number& diePitch, const Number& rowPitch,
                       const Number& hexHalfSide, const LayoutTable& rows, const LayoutTable& columns,
                       const LayoutResults& results)
{
    out << "{\"shape\": " << jsonString(shape) << ", \"DiePitch\": ";
    writeNumber(out, diePitch);
    out << ", \"RowPitch\": ";
    writeNumber(out, rowPitch);
    out << ", \"HexHalfSide\": ";
    writeNumber(out, hexHalfSide);
    out << ",\n \"RowTable\": ";
    writeTable(out, rows);
    out << ",\n \"ColumnTable\": ";
    writeTable(out, columns);
    out << ",\n ";
    writeResults(out, results);
    out << "}\n";
}

} // namespace

void writeLayoutJson(std::ostream& out, const WaferLayout& layout, const LayoutResults& results)
{
    writeLayoutObject(out, shapeText(layout.shape), layout.DiePitch, layout.RowPitch, layout.HexHalfSide,
                      layout.RowTable, layout.ColumnTable, results);
}

void writeSimulationJson(std::ostream& out, const SimulationLayout& layout, const LayoutResults& results)
{
    writeLayoutObject(out, "Simulation", layout.DiePitch, layout.RowPitch, layout.HexHalfSide, layout.RowTable,
                      LayoutTable(), results);
}

void writeOutlineOnlyJson(std::ostream& out)
{
    out << "{\"shape\": null, \"DiePitch\": null, \"RowPitch\": null, \"HexHalfSide\": null,\n"
           " \"RowTable\": [],\n \"ColumnTable\": [],\n"
           " \"results\": {\"rows\": \"\", \"dies\": \"\", \"utilisation\": \"\"}}\n";
}

} // namespace kerf::cli
