// SPDX-License-Identifier: GPL-3.0-or-later
#include "die_maps/map_rows.h"

namespace kerf {

Decimal inMil(const Decimal& inches)
{
    return inches * 1000;
}

void forEachCodeRow(const MapGrid& grid, std::string_view separator,
                    const std::function<void(const std::string&)>& visit)
{
    const std::size_t cell = NullCode.size() + separator.size();
    std::string empty;
    for (int column = 0; column < grid.columnCount; ++column) {
        if (column > 0)
            empty += separator;
        empty += NullCode;
    }
    std::string line;
    for (const MapRow& row : grid.rows) {
        line = empty;
        for (int die = 0; die < row.count; ++die) {
            const std::size_t column = static_cast<std::size_t>(row.firstColumn + die * grid.columnStep);
            line.replace(column * cell, DieCode.size(), DieCode);
        }
        visit(line);
    }
}

} // namespace kerf
