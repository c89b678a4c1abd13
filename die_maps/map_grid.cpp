// SPDX-License-Identifier: GPL-3.0-or-later
#include "die_maps/map_grid.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include "layout/die_centres.h"

namespace kerf {
namespace {

/// The whole number of steps from `from` to `to` (the layouts place their dies
/// on the steps; rounding takes up their last digits).
long long stepsBetween(const Decimal& from, const Decimal& to, const Decimal& step)
{
    return std::llround((to - from).toDouble() / step.toDouble());
}

} // namespace

std::variant<MapGrid, MapGridRefusal> mapGridOf(const WaferLayout& layout)
{
    const bool squares = layout.shape == DieShape::Square;
    MapGrid grid;
    grid.columnStep = squares ? 1 : 2;
    grid.xStep = squares ? layout.DiePitch.toDecimal() : layout.DiePitch.toDecimal().half();
    grid.yStep = layout.RowPitch.toDecimal();

    std::vector<DieRow> rows;
    std::optional<Decimal> left;
    forEachDieRow(layout, [&](const DieRow& row) {
        rows.push_back(row);
        if (row.count > 0 && (!left || row.x < *left))
            left = row.x;
    });
    if (!left || grid.xStep.isZero() || grid.yStep.isZero())
        return MapGridRefusal{"這個佈局沒有晶粒，沒有晶圓圖可寫。"};

    long long columns = 0;
    for (const DieRow& row : rows) {
        MapRow mapRow;
        if (row.count > 0) {
            mapRow.firstColumn = static_cast<int>(stepsBetween(*left, row.x, grid.xStep));
            mapRow.count = row.count;
            columns = std::max<long long>(columns, mapRow.firstColumn + 1LL + (row.count - 1LL) * grid.columnStep);
            grid.dieCount += row.count;
        }
        grid.rows.push_back(mapRow);
    }
    const long long cells = columns * static_cast<long long>(rows.size());
    if (cells > MaxMapCells)
        return MapGridRefusal{"晶圓圖有 " + std::to_string(rows.size()) + " 列 × " + std::to_string(columns) + " 行，共 "
                              + std::to_string(cells) + " 格，超過上限 " + std::to_string(MaxMapCells)
                              + " 格：請用較大的晶粒。"};
    grid.rowCount = static_cast<int>(rows.size());
    grid.columnCount = static_cast<int>(columns);

    // The reference cell: the wafer centre, or for squares the cell below and
    // to the right of it.
    const Decimal offset = squares ? layout.DiePitch.toDecimal().half() : Decimal();
    grid.referenceColumn = static_cast<int>(stepsBetween(*left, offset, grid.xStep));
    grid.referenceRow = static_cast<int>(stepsBetween(-offset, rows.front().y, grid.yStep));
    return grid;
}

} // namespace kerf
