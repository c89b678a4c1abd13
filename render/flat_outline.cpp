// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/flat_outline.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "render/wafer_map.h"

namespace kerf::map {
namespace {

// Steps of the arcs: a quarter degree, far below a pixel at any wafer size.
constexpr int ArcSteps = 1440;

} // namespace

void DrawLayoutOutline(InchCanvas& canvas, float centreX, float centreY, float waferRadius,
                       const WaferLayout& layout)
{
    if (layout.flats.empty())
        return DrawWaferOutline(canvas, centreX, centreY, waferRadius);
    const double R = waferRadius;
    const std::vector<KeepOutLine> edges = flatEdges(layout.flats, 2 * waferRadius);
    const auto toPicture = [&](double x, double y) {
        return QPointF(centreX + x, centreY - y); // Y up to the picture's Y down
    };
    // The outline in polar form: the circle, or nearer where a flat cuts it;
    // the flats' corners are among the angles, so each flat is one straight line.
    std::vector<double> angles;
    for (int i = 0; i < ArcSteps; ++i)
        angles.push_back(2 * std::numbers::pi * i / ArcSteps);
    for (const KeepOutLine& e : edges) {
        const double normal = std::atan2(e.ny, e.nx), half = std::acos(std::clamp(e.k / R, -1.0, 1.0));
        for (const double a : {normal - half, normal + half})
            angles.push_back(std::fmod(a + 4 * std::numbers::pi, 2 * std::numbers::pi));
    }
    std::sort(angles.begin(), angles.end());
    const auto outlineAt = [&](double a) {
        double rho = R;
        for (const KeepOutLine& e : edges) {
            const double towards = std::cos(a) * e.nx + std::sin(a) * e.ny;
            if (towards > 0)
                rho = std::min(rho, e.k / towards);
        }
        return toPicture(rho * std::cos(a), rho * std::sin(a));
    };
    canvas.point(centreX, centreY, Black);
    QPointF previous = outlineAt(angles.back());
    for (const double a : angles) {
        const QPointF next = outlineAt(a);
        canvas.line(float(previous.x()), float(previous.y()), float(next.x()), float(next.y()), Black);
        previous = next;
    }
    // Each keep-out line across the nominal wafer.
    for (const KeepOutLine& l : keepOutLines(layout.flats, 2 * waferRadius, layout.EffectiveRadius)) {
        if (std::fabs(l.k) >= R)
            continue;
        const double s = std::sqrt(R * R - l.k * l.k);
        const QPointF a = toPicture(l.k * l.nx - s * l.ny, l.k * l.ny + s * l.nx);
        const QPointF b = toPicture(l.k * l.nx + s * l.ny, l.k * l.ny - s * l.nx);
        canvas.line(float(a.x()), float(a.y()), float(b.x()), float(b.y()), KeepOutGrey);
    }
}

} // namespace kerf::map
