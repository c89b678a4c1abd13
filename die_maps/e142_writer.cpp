// SPDX-License-Identifier: GPL-3.0-or-later
#include "die_maps/e142_writer.h"

#include <string>

#include "die_maps/map_rows.h"

namespace kerf {
namespace {

/// `text` safe inside an XML element or a quoted attribute.
std::string escaped(const std::string& text)
{
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&apos;"; break;
        default: out += c;
        }
    }
    return out;
}

} // namespace

void writeE142(std::ostream& out, const MapGrid& grid, const MapHeader& header)
{
    const std::string wafer = escaped(header.wafer);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<MapData>\n"
        << " <Layouts>\n"
        << "  <Layout LayoutId=\"WaferLayout\" DefaultUnits=\"mil\">\n"
        << "   <Dimension X=\"" << grid.columnCount << "\" Y=\"" << grid.rowCount << "\"/>\n"
        << "   <StepSize X=\"" << inMil(grid.xStep).text() << "\" Y=\"" << inMil(grid.yStep).text() << "\"/>\n"
        << "   <DieCount>" << grid.dieCount << "</DieCount>\n"
        << "   <ProductId>" << escaped(header.device) << "</ProductId>\n"
        << "  </Layout>\n"
        << " </Layouts>\n"
        << " <Substrates>\n"
        << "  <Substrate SubstrateType=\"Wafer\" SubstrateId=\"" << wafer << "\">\n"
        << "   <LotId>" << escaped(header.lot) << "</LotId>\n"
        << "  </Substrate>\n"
        << " </Substrates>\n"
        << " <SubstrateMaps>\n"
        << "  <SubstrateMap SubstrateType=\"Wafer\" SubstrateId=\"" << wafer
        << "\" LayoutSpecifier=\"WaferLayout\" Orientation=\"" << header.flatLocation
        << "\" OriginLocation=\"UpperLeft\" AxisDirection=\"DownRight\">\n"
        << "   <ReferenceDevice X=\"" << grid.referenceColumn << "\" Y=\"" << grid.referenceRow << "\"/>\n"
        << "   <Overlay MapName=\"BinCodeMap\" MapVersion=\"1\">\n"
        << "    <BinCodeMap BinType=\"HexaDecimal\" NullBin=\"" << NullCode << "\">\n"
        << "     <BinDefinitions>\n"
        << "      <BinDefinition BinCode=\"" << DieCode << "\" BinCount=\"" << grid.dieCount
        << "\" Pick=\"true\" BinDescription=\"die\"/>\n"
        << "     </BinDefinitions>\n";
    forEachCodeRow(grid, "", [&out](const std::string& codes) { out << "     <BinCode>" << codes << "</BinCode>\n"; });
    out << "    </BinCodeMap>\n"
        << "   </Overlay>\n"
        << "  </SubstrateMap>\n"
        << " </SubstrateMaps>\n"
        << "</MapData>\n";
}

} // namespace kerf
