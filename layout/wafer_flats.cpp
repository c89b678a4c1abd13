// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/wafer_flats.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kerf {
namespace {

constexpr double MillimetresPerInch = 25.4;

std::vector<KeepOutLine> linesAt(const WaferFlats& flats, float waferDiameter, double inward)
{
    const double R = double(waferDiameter) / 2;
    std::vector<KeepOutLine> lines;
    for (const Flat& flat : flats.list()) {
        const double halfLength = flat.length / MillimetresPerInch / 2;
        KeepOutLine line = flatNormal(flat.at);
        line.k = std::sqrt(std::max(R * R - halfLength * halfLength, 0.0)) - inward;
        lines.push_back(line);
    }
    return lines;
}

struct Point {
    double x = 0;
    double y = 0;
};

bool behindAll(Point p, const std::vector<KeepOutLine>& lines)
{
    return std::all_of(lines.begin(), lines.end(),
                       [p](const KeepOutLine& l) { return p.x * l.nx + p.y * l.ny <= l.k; });
}

} // namespace

std::vector<Flat> WaferFlats::list() const
{
    std::vector<Flat> flats;
    if (primary)
        flats.push_back(*primary);
    if (secondary)
        flats.push_back(*secondary);
    return flats;
}

KeepOutLine flatNormal(double degrees)
{
    double a = std::fmod(degrees, 360.0);
    if (a < 0)
        a += 360;
    if (a == 0)
        return {1, 0, 0};
    if (a == 90)
        return {0, 1, 0};
    if (a == 180)
        return {-1, 0, 0};
    if (a == 270)
        return {0, -1, 0};
    const double radians = a * (std::numbers::pi / 180);
    return {std::cos(radians), std::sin(radians), 0};
}

std::vector<KeepOutLine> keepOutLines(const WaferFlats& flats, float waferDiameter, float effectiveRadius)
{
    return linesAt(flats, waferDiameter, double(waferDiameter) / 2 - double(effectiveRadius));
}

std::vector<KeepOutLine> flatEdges(const WaferFlats& flats, float waferDiameter)
{
    return linesAt(flats, waferDiameter, 0);
}

double areaBehindLines(double radius, double circleArea, const std::vector<KeepOutLine>& lines)
{
    // Green's theorem over the region's boundary: the pieces of the lines
    // inside the circle, then the arcs between the lines' crossings.
    std::vector<KeepOutLine> crossing;
    for (const KeepOutLine& l : lines) {
        if (l.k <= -radius)
            return 0;
        if (l.k < radius)
            crossing.push_back(l);
    }
    if (crossing.empty())
        return circleArea;
    double twiceArea = 0;
    std::vector<double> angles;
    for (const KeepOutLine& l : crossing) {
        const double s = std::sqrt(radius * radius - l.k * l.k);
        const Point foot{l.k * l.nx, l.k * l.ny};
        const Point along{-l.ny, l.nx}; // the region lies on its left
        angles.push_back(std::atan2(foot.y - s * along.y, foot.x - s * along.x));
        angles.push_back(std::atan2(foot.y + s * along.y, foot.x + s * along.x));
        double t0 = -s, t1 = s;
        for (const KeepOutLine& o : crossing) {
            if (&o == &l)
                continue;
            const double base = l.k * (l.nx * o.nx + l.ny * o.ny);
            const double slope = along.x * o.nx + along.y * o.ny;
            if (slope > 0)
                t1 = std::min(t1, (o.k - base) / slope);
            else if (slope < 0)
                t0 = std::max(t0, (o.k - base) / slope);
            else if (base > o.k)
                t1 = t0;
        }
        if (t1 > t0) {
            const Point a{foot.x + t0 * along.x, foot.y + t0 * along.y};
            const Point b{foot.x + t1 * along.x, foot.y + t1 * along.y};
            twiceArea += a.x * b.y - a.y * b.x;
        }
    }
    std::sort(angles.begin(), angles.end());
    for (std::size_t i = 0; i < angles.size(); ++i) {
        const double from = angles[i];
        const double to = i + 1 < angles.size() ? angles[i + 1] : angles.front() + 2 * std::numbers::pi;
        const double middle = (from + to) / 2;
        if (to > from && behindAll({radius * std::cos(middle), radius * std::sin(middle)}, crossing))
            twiceArea += radius * radius * (to - from);
    }
    const double cutAway = std::numbers::pi * radius * radius - twiceArea / 2;
    return std::max(circleArea - cutAway, 0.0);
}

} // namespace kerf
