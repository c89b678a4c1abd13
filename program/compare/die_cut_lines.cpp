// SPDX-License-Identifier: GPL-3.0-or-later
#include "program/compare/die_cut_lines.h"

#include <algorithm>
#include <cmath>

#include "numbers/decimal.h"

namespace kerf {

namespace {

struct Edge {
    ProgramPoint a, b;
};

/// The die's outline as edges: six for a hexagon, the cell's four sides for
/// a square, none for a round die.
std::vector<Edge> outline(const WaferLayout& layout, ProgramPoint c)
{
    std::vector<ProgramPoint> corners;
    if (layout.shape == DieShape::Hexagon) {
        const double h = Decimal::fromSingle(layout.HalfDieSize).toDouble();
        const double s = layout.HexHalfSide.toDecimal().toDouble();
        corners = {{c.x - h, c.y - s}, {c.x - h, c.y + s}, {c.x, c.y + 2 * s},
                   {c.x + h, c.y + s}, {c.x + h, c.y - s}, {c.x, c.y - 2 * s}};
    } else if (layout.shape == DieShape::Square) {
        const double w = layout.DiePitch.toDecimal().toDouble() / 2, r = layout.RowPitch.toDecimal().toDouble() / 2;
        corners = {{c.x - w, c.y - r}, {c.x - w, c.y + r}, {c.x + w, c.y + r}, {c.x + w, c.y - r}};
    }
    std::vector<Edge> edges;
    for (std::size_t k = 0; k < corners.size(); ++k)
        edges.push_back({corners[k], corners[(k + 1) % corners.size()]});
    return edges;
}

/// Whether the straight cut from `p` to `q` runs along `edge` for more than `tolerance`.
bool alongEdge(ProgramPoint p, ProgramPoint q, const Edge& edge, double tolerance)
{
    const double ex = edge.b.x - edge.a.x, ey = edge.b.y - edge.a.y;
    const double length = std::hypot(ex, ey);
    if (length <= tolerance)
        return false;
    const double ux = ex / length, uy = ey / length;
    // Both ends on the edge's line, then the overlap of the two along it.
    const auto across = [&](ProgramPoint r) { return std::abs((r.x - edge.a.x) * uy - (r.y - edge.a.y) * ux); };
    const auto along = [&](ProgramPoint r) { return (r.x - edge.a.x) * ux + (r.y - edge.a.y) * uy; };
    if (across(p) > tolerance || across(q) > tolerance)
        return false;
    const double from = std::max(std::min(along(p), along(q)), 0.0);
    const double to = std::min(std::max(along(p), along(q)), length);
    return to - from > tolerance;
}

} // namespace

DieCutLines linesCuttingDie(const Program& program, const WaferLayout& layout, ProgramPoint centre,
                            double tolerance, std::uint64_t maxMotions, const std::function<bool(double)>& progress)
{
    const std::vector<Edge> edges = outline(layout, centre);
    const double half = Decimal::fromSingle(layout.HalfDieSize).toDouble();
    const std::uint64_t total = std::max<std::uint64_t>(std::min(program.expandedMotions(), maxMotions), 1);
    DieCutLines result;
    std::uint64_t motions = 0;
    runProgram(program, [&](const Motion& m) {
        if (++motions > maxMotions || ((motions & 0xFFFF) == 0 && progress && !progress(double(motions) / total))) {
            result.complete = false;
            return false;
        }
        if (!m.cutting)
            return true;
        bool cuts = false;
        if (m.kind == MotionKind::Arc)
            cuts = layout.shape == DieShape::Circle &&
                   std::hypot(m.centre.x - centre.x, m.centre.y - centre.y) <= half / 2 &&
                   std::abs(m.radius() - half) <= half / 4 + tolerance;
        else
            cuts = std::any_of(edges.begin(), edges.end(),
                               [&](const Edge& e) { return alongEdge(m.from, m.to, e, tolerance); });
        if (cuts && (result.lines.empty() || result.lines.back() != m.line)) {
            result.lines.push_back(m.line);
            // A repeat cuts its lines again: the list holds each line once.
            if (result.lines.size() > 4096) {
                std::sort(result.lines.begin(), result.lines.end());
                result.lines.erase(std::unique(result.lines.begin(), result.lines.end()), result.lines.end());
            }
        }
        return true;
    });
    std::sort(result.lines.begin(), result.lines.end());
    result.lines.erase(std::unique(result.lines.begin(), result.lines.end()), result.lines.end());
    return result;
}

std::vector<std::string> lineTexts(std::string_view text, const std::vector<std::uint32_t>& lines)
{
    std::vector<std::string> texts;
    std::uint32_t number = 1;
    std::size_t start = 0;
    for (const std::uint32_t wanted : lines) {
        while (number < wanted && start < text.size()) {
            const std::size_t end = text.find('\n', start);
            start = end == std::string_view::npos ? text.size() : end + 1;
            ++number;
        }
        std::string_view line = number == wanted ? text.substr(start, text.find('\n', start) - start)
                                                 : std::string_view();
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        texts.emplace_back(line);
    }
    return texts;
}

} // namespace kerf
