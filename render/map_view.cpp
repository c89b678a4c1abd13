// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/map_view.h"

#include <algorithm>
#include <cmath>

#include <QPainter>

#include "render/flat_outline.h"
#include "render/inch_canvas.h"
#include "render/wafer_map.h"

namespace kerf::map {

namespace {

double clampScale(double pixelsPerInch)
{
    return std::clamp(pixelsPerInch, MapView::MinPixelsPerInch, MapView::MaxPixelsPerInch);
}

// The first and last of `count` items at `first + k * pitch` (k from 0) whose
// extent [−before, +after] about that point reaches into [from, to]; one more
// each side for the rounding of the drawing. Empty (first > last) if none.
struct IndexRange {
    int first;
    int last;
};
IndexRange reaching(double first, double pitch, int count, double before, double after, double from, double to)
{
    if (count <= 0 || !(pitch > 0))
        return {0, count - 1};
    const double lo = std::floor((from - after - first) / pitch) - 1;
    const double hi = std::ceil((to + before - first) / pitch) + 1;
    const int a = static_cast<int>(std::clamp(lo, 0.0, double(count)));
    const int b = static_cast<int>(std::clamp(hi, -1.0, double(count - 1)));
    return {a, b};
}

// A record cut down to `range`: its start moved by whole pitches, exactly.
LayoutRow cutDown(const LayoutRow& row, const IndexRange& range, const Decimal& pitch, bool alongX)
{
    LayoutRow part = row;
    part.DieCount = static_cast<std::int16_t>(range.last - range.first + 1);
    if (range.first > 0) {
        const Number& start = alongX ? row.PosX : row.PosY;
        const Number moved = Number::ofDecimal(start.toDecimal() + pitch * range.first);
        (alongX ? part.PosX : part.PosY) = moved;
    }
    return part;
}

void append(LayoutTable& table, const LayoutRow& row)
{
    table.grow();
    table[table.upperBound()] = row;
}

} // namespace

QRectF MapView::inchRect() const
{
    return {topLeft, QSizeF(size.width() / pixelsPerInch, size.height() / pixelsPerInch)};
}

MapView fitView(QSize size, const QRectF& inches)
{
    MapView view;
    view.size = size;
    if (size.isEmpty() || inches.isEmpty()) {
        view.topLeft = inches.topLeft();
        return view;
    }
    view.pixelsPerInch = clampScale(std::min(size.width() / inches.width(), size.height() / inches.height()));
    const QPointF halfWidget(size.width() / 2.0 / view.pixelsPerInch, size.height() / 2.0 / view.pixelsPerInch);
    view.topLeft = inches.center() - halfWidget;
    return view;
}

MapView zoomedAbout(const MapView& view, QPointF anchor, double factor)
{
    if (!(factor > 0) || !std::isfinite(factor))
        return view;
    MapView zoomed = view;
    const QPointF fixed = view.toInches(anchor);
    zoomed.pixelsPerInch = clampScale(view.pixelsPerInch * factor);
    zoomed.topLeft = fixed - anchor / zoomed.pixelsPerInch;
    return zoomed;
}

MapView panned(const MapView& view, QPointF pixels)
{
    MapView moved = view;
    moved.topLeft = view.topLeft - pixels / view.pixelsPerInch;
    return moved;
}

MapView resized(const MapView& view, QSize size)
{
    MapView changed = view;
    changed.size = size;
    return changed;
}

WaferLayout visibleLayout(const WaferLayout& layout, const QRectF& inches)
{
    WaferLayout part = layout;
    part.RowTable = LayoutTable();
    part.ColumnTable = LayoutTable();
    const double left = inches.left();
    const double right = inches.right();
    const double top = inches.top();
    const double bottom = inches.bottom();
    const Decimal diePitch = layout.DiePitch.toDecimal();
    const double pitch = diePitch.toDouble();

    const LayoutTable& rows = layout.RowTable;
    if (layout.shape == DieShape::Square) {
        const Decimal rowPitchExact = layout.RowPitch.toDecimal();
        const double rowPitch = rowPitchExact.toDouble();
        for (int i = 1; i <= rows.upperBound(); ++i) {
            const LayoutRow& row = rows[i];
            const double y = row.PosY.toDouble();
            if (row.DieCount <= 0 || y < top - rowPitch || y > bottom + rowPitch)
                continue;
            // Segment k runs from first + k·pitch to first + (k + 1)·pitch.
            const IndexRange range = reaching(row.PosX.toDouble(), pitch, row.DieCount, 0, pitch, left, right);
            if (range.first <= range.last)
                append(part.RowTable, cutDown(row, range, diePitch, true));
        }
        const LayoutTable& columns = layout.ColumnTable;
        for (int i = 1; i <= columns.upperBound(); ++i) {
            const LayoutRow& column = columns[i];
            const double x = column.PosX.toDouble();
            if (column.DieCount <= 0 || x < left - pitch || x > right + pitch)
                continue;
            const IndexRange range =
                reaching(column.PosY.toDouble(), rowPitch, column.DieCount, 0, rowPitch, top, bottom);
            if (range.first <= range.last)
                append(part.ColumnTable, cutDown(column, range, rowPitchExact, false));
        }
        return part;
    }

    const double halfWidth = layout.HalfDieSize;
    // A hexagon is 4 half sides high corner to corner; a circle its die size.
    const double halfHeight =
        layout.shape == DieShape::Hexagon ? 2 * layout.HexHalfSide.toDouble() : layout.HalfDieSize;
    for (int i = 1; i <= rows.upperBound(); ++i) {
        const LayoutRow& row = rows[i];
        const double y = row.PosY.toDouble();
        if (row.DieCount <= 0 || y + halfHeight < top || y - halfHeight > bottom)
            continue;
        const IndexRange range =
            reaching(row.PosX.toDouble(), pitch, row.DieCount, halfWidth, halfWidth, left, right);
        if (range.first <= range.last)
            append(part.RowTable, cutDown(row, range, diePitch, true));
    }
    return part;
}

void drawWaferMap(QPainter& painter, const MapView& view, const WaferLayout& layout, float waferRadius)
{
    painter.save();
    painter.translate(view.painterOffset());
    {
        InchCanvas canvas(painter, view.pixelsPerInch);
        DrawLayoutOutline(canvas, CenterX, CenterY, waferRadius, layout);
        drawDies(canvas, visibleLayout(layout, view.inchRect()));
    }
    painter.restore();
}

} // namespace kerf::map
