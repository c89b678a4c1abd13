// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/layout_json.h"

#include <string>

#include "cli/json_text.h"

namespace kerf::cli {
namespace {

// The document is put together in memory and written in blocks of about
// 64 KiB: a table of tens of thousands of records costs a few appends each,
// not stream calls, and the memory stays that of one block.
constexpr std::size_t BlockSize = 1 << 16;

void writeBlock(std::ostream& out, std::string& json)
{
    out.write(json.data(), static_cast<std::streamsize>(json.size()));
    json.clear();
}

void appendNumber(std::string& json, const Number& value)
{
    if (value.isEmpty())
        json += "null";
    else
        appendJsonString(json, value.text());
}

void appendTable(std::ostream& out, std::string& json, const LayoutTable& table)
{
    json += '[';
    for (int i = 1; i <= table.upperBound(); ++i) {
        const LayoutRow& row = table[i];
        json += i > 1 ? ", {\"DieCount\": " : "{\"DieCount\": ";
        json += std::to_string(row.DieCount);
        json += ", \"PosX\": ";
        appendNumber(json, row.PosX);
        json += ", \"PosY\": ";
        appendNumber(json, row.PosY);
        json += ", \"RelX\": ";
        appendNumber(json, row.RelX);
        json += ", \"RelY\": ";
        appendNumber(json, row.RelY);
        json += '}';
        if (json.size() >= BlockSize)
            writeBlock(out, json);
    }
    json += ']';
}

void appendResults(std::string& json, const LayoutResults& results)
{
    json += "\"results\": {\"rows\": ";
    appendJsonString(json, results.rows);
    json += ", \"dies\": ";
    appendJsonString(json, results.dies);
    json += ", \"utilisation\": ";
    appendJsonString(json, results.utilisation);
    json += '}';
}

void writeLayoutObject(std::ostream& out, std::string_view shape, const Number& diePitch, const Number& rowPitch,
                       const Number& hexHalfSide, const LayoutTable& rows, const LayoutTable& columns,
                       const LayoutResults& results, std::string_view extraMembers = {})
{
    std::string json;
    json.reserve(BlockSize + 256); // a record is about 96 bytes
    json += "{\"shape\": ";
    appendJsonString(json, shape);
    json += ", \"DiePitch\": ";
    appendNumber(json, diePitch);
    json += ", \"RowPitch\": ";
    appendNumber(json, rowPitch);
    json += ", \"HexHalfSide\": ";
    appendNumber(json, hexHalfSide);
    json += ",\n \"RowTable\": ";
    appendTable(out, json, rows);
    json += ",\n \"ColumnTable\": ";
    appendTable(out, json, columns);
    json += ",\n ";
    appendResults(json, results);
    if (!extraMembers.empty()) {
        json += ",\n ";
        json += extraMembers;
    }
    json += "}\n";
    writeBlock(out, json);
}

} // namespace

void writeLayoutJson(std::ostream& out, const WaferLayout& layout, const LayoutResults& results,
                     std::string_view extraMembers)
{
    writeLayoutObject(out, shapeText(layout.shape), layout.DiePitch, layout.RowPitch, layout.HexHalfSide,
                      layout.RowTable, layout.ColumnTable, results, extraMembers);
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
