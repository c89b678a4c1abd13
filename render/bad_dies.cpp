// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/bad_dies.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include <QPainterPath>
#include <QPolygonF>

#include "layout/die_centres.h"
#include "render/wafer_map.h"

namespace kerf::map {
namespace {

/// Calls `visit` with the centre of each bad die in picture inches (Y down).
void forEachBadCentre(const WaferLayout& layout, const std::vector<BadDie>& badDies,
                      const std::function<void(double x, double y)>& visit)
{
    const Decimal pitch = layout.DiePitch.toDecimal();
    const LayoutPoint& centre = waferCentre();
    auto next = badDies.begin();
    forEachDieRow(layout, [&](const DieRow& row) {
        for (; next != badDies.end() && next->row == row.row; ++next)
            if (next->die >= 1 && next->die <= row.count)
                visit((centre.X + row.x + pitch * (next->die - 1)).toDouble(), (centre.Y - row.y).toDouble());
    });
}

void addDieShape(QPainterPath& path, const WaferLayout& layout, double x, double y)
{
    const double r = layout.HalfDieSize;
    switch (layout.shape) {
    case DieShape::Circle: path.addEllipse(QPointF(x, y), r, r); break;
    case DieShape::Square: path.addRect(QRectF(x - r, y - r, 2 * r, 2 * r)); break;
    case DieShape::Hexagon: {
        const double h = layout.HexHalfSide.toDouble();
        path.addPolygon(QPolygonF({{x - r, y + h}, {x - r, y - h}, {x, y - 2 * h}, {x + r, y - h}, {x + r, y + h},
                                   {x, y + 2 * h}}));
        path.closeSubpath();
        break;
    }
    }
}

/// The device pixels that hold a bad die, filled as runs along each pixel row.
void fillBadPixels(InchCanvas& canvas, const WaferLayout& layout, const std::vector<BadDie>& badDies)
{
    // The picture is twice the wafer centre square.
    const double perInch = canvas.devicePixelsPerInch();
    const long side = std::lround(std::ceil(2.0 * CenterX * perInch)) + 1;
    std::vector<bool> bad(static_cast<std::size_t>(side * side));
    forEachBadCentre(layout, badDies, [&](double x, double y) {
        const long column = std::lround(std::floor(x * perInch)), row = std::lround(std::floor(y * perInch));
        if (column >= 0 && column < side && row >= 0 && row < side)
            bad[static_cast<std::size_t>(row * side + column)] = true;
    });
    QPainterPath path;
    for (long row = 0; row < side; ++row)
        for (long column = 0; column < side;) {
            if (!bad[static_cast<std::size_t>(row * side + column)]) {
                ++column;
                continue;
            }
            const long start = column;
            while (column < side && bad[static_cast<std::size_t>(row * side + column)])
                ++column;
            path.addRect(QRectF(start / perInch, row / perInch, (column - start) / perInch, 1 / perInch));
        }
    canvas.fill(path, BadDieColour);
}

} // namespace

void drawBadDies(InchCanvas& canvas, const WaferLayout& layout, const std::vector<BadDie>& badDies)
{
    if (badDies.empty())
        return;
    if (!drawsEachDie(canvas, layout.DieSize))
        return fillBadPixels(canvas, layout, badDies);
    QPainterPath path;
    forEachBadCentre(layout, badDies, [&](double x, double y) { addDieShape(path, layout, x, y); });
    canvas.fill(path, BadDieColour);
}

} // namespace kerf::map
