// SPDX-License-Identifier: GPL-3.0-or-later
#include "die_maps/sinf_writer.h"

#include "die_maps/map_rows.h"

namespace kerf {

void writeSinf(std::ostream& out, const MapGrid& grid, const MapHeader& header)
{
    out << "DEVICE:" << header.device << '\n'
        << "LOT:" << header.lot << '\n'
        << "WAFER:" << header.wafer << '\n'
        << "FNLOC:" << header.flatLocation << '\n'
        << "ROWCT:" << grid.rowCount << '\n'
        << "COLCT:" << grid.columnCount << '\n'
        << "BCEQU:" << DieCode << '\n'
        << "REFPX:" << grid.referenceColumn << '\n'
        << "REFPY:" << grid.referenceRow << '\n'
        << "DUTMS:mil\n"
        << "XDIES:" << inMil(grid.xStep).text() << '\n'
        << "YDIES:" << inMil(grid.yStep).text() << '\n';
    forEachCodeRow(grid, " ", [&out](const std::string& codes) { out << "RowData:" << codes << '\n'; });
}

} // namespace kerf
