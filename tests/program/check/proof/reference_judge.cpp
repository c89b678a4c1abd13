// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/program/check/proof/reference_judge.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "layout/die_centres.h"
#include "layout/wafer_centre.h"

namespace kerf::testing {

namespace {

constexpr double Pi = std::numbers::pi;
// Motions the judge runs at most: it is meant for small programs.
constexpr std::size_t MostMotions = 3'000'000;

struct Point {
    double x = 0, y = 0;
};

double distance(Point a, Point b) { return std::hypot(a.x - b.x, a.y - b.y); }

/// One motion of the head as the judge runs it.
struct Move {
    Point from, to;
    bool arc = false;
    Point centre;
    double sweep = 0; // degrees, negative clockwise
    bool cutting = false;
    bool uncertain = false; // one of several moves of its line
    double length() const
    {
        return arc ? std::abs(sweep) * Pi / 180 * distance(from, centre) : distance(from, to);
    }
};

// ---------------------------------------------------------------------------
// The interpreter: units PN … EI, the last one run; SL n … EL; a line naming
// a unit calls it; MA measures from the zero, MI from the head; OS opens a
// cut, CS and OFF close it; ZERO puts the zero where the head is.

struct Line {
    std::vector<std::string> words;
    std::vector<double> numbers; // each word read as a number (0 for none)
};

class Interpreter {
public:
    explicit Interpreter(std::string_view text)
    {
        std::istringstream in{std::string(text)};
        std::string raw;
        std::string unit;
        while (std::getline(in, raw)) {
            const std::size_t hash = raw.find('#');
            if (hash != std::string::npos)
                raw.erase(hash);
            std::istringstream words(raw);
            Line line;
            for (std::string w; words >> w;) {
                line.words.push_back(w);
                line.numbers.push_back(std::strtod(w.c_str(), nullptr));
            }
            if (line.words.empty())
                continue;
            if (line.words[0] == "PN") {
                unit = line.words.size() > 1 ? line.words[1] : "";
                order_.push_back(unit);
                units_[unit];
            } else if (line.words[0] == "EI") {
                unit.clear();
            } else {
                units_[unit].push_back(line);
            }
        }
    }

    /// Runs the last unit; false when it runs past MostMotions.
    bool run()
    {
        if (order_.empty())
            return true;
        return body(units_[order_.back()], 0, units_[order_.back()].size(), 0);
    }

    std::vector<Move> moves;
    bool zeroShift = false;

private:
    bool body(const std::vector<Line>& lines, std::size_t begin, std::size_t end, int depth)
    {
        if (depth > 100)
            return false;
        for (std::size_t i = begin; i < end; ++i) {
            const std::vector<std::string>& w = lines[i].words;
            const std::string& word = w[0];
            if (word == "SL") {
                std::size_t close = i + 1;
                for (int open = 1; close < end; ++close) {
                    open += lines[close].words[0] == "SL";
                    open -= lines[close].words[0] == "EL";
                    if (open == 0)
                        break;
                }
                const unsigned long count = std::stoul(w[1]);
                for (unsigned long n = 0; n < count; ++n)
                    if (!body(lines, i + 1, close, depth + 1))
                        return false;
                i = close;
            } else if (word == "MA" || word == "MI") {
                if (!move(lines[i]))
                    return false;
            } else if (word == "OS") {
                cutting_ = true;
            } else if (word == "CS" || word == "OFF") {
                cutting_ = false;
            } else if (word == "ZERO") {
                if (std::abs(head_.x - zero_.x) > 1e-9 || std::abs(head_.y - zero_.y) > 1e-9)
                    zeroShift = true;
                zero_ = head_;
            } else if (w.size() == 1 && units_.count(word) && word != "") {
                const std::vector<Line>& callee = units_[word];
                if (!body(callee, 0, callee.size(), depth + 1))
                    return false;
            }
        }
        return true;
    }

    bool move(const Line& line)
    {
        const std::vector<std::string>& w = line.words;
        std::size_t clauses = 0;
        for (const std::string& word : w)
            clauses += word == "MA" || word == "MI";
        for (std::size_t i = 0; i < w.size();) {
            const bool absolute = w[i] == "MA";
            ++i;
            std::optional<double> x, y, arc;
            for (; i < w.size() && w[i] != "MA" && w[i] != "MI"; i += 2) {
                const double value = line.numbers[i + 1];
                if (w[i] == "X")
                    x = value;
                else if (w[i] == "Y")
                    y = value;
                else if (w[i] == "ARC")
                    arc = value;
            }
            Move m;
            m.from = head_;
            m.cutting = cutting_;
            m.uncertain = clauses > 1;
            if (arc) {
                m.arc = true;
                m.centre = {head_.x + x.value_or(0), head_.y + y.value_or(0)};
                m.sweep = *arc;
                const double turn = *arc * Pi / 180;
                const double dx = head_.x - m.centre.x, dy = head_.y - m.centre.y;
                m.to = {m.centre.x + dx * std::cos(turn) - dy * std::sin(turn),
                        m.centre.y + dx * std::sin(turn) + dy * std::cos(turn)};
                if (std::fmod(*arc, 360.0) == 0)
                    m.to = head_;
            } else if (absolute) {
                m.to = {x ? zero_.x + *x : head_.x, y ? zero_.y + *y : head_.y};
            } else {
                m.to = {head_.x + x.value_or(0), head_.y + y.value_or(0)};
            }
            head_ = m.to;
            moves.push_back(m);
            if (moves.size() > MostMotions)
                return false;
        }
        return true;
    }

    std::map<std::string, std::vector<Line>> units_;
    std::vector<std::string> order_;
    Point head_, zero_;
    bool cutting_ = false;
};

// ---------------------------------------------------------------------------
// Edges and their coverage.

/// A straight die edge, or a grid line a cut may run along.
struct Edge {
    Point a, b;
};

/// Distance from `p` to the infinite line through `e`.
double offLine(Point p, const Edge& e)
{
    const double len = distance(e.a, e.b);
    return std::abs((e.b.x - e.a.x) * (p.y - e.a.y) - (e.b.y - e.a.y) * (p.x - e.a.x)) / len;
}

/// Where `p` falls along `e`, inches from `e.a`.
double along(Point p, const Edge& e)
{
    const double len = distance(e.a, e.b);
    return ((p.x - e.a.x) * (e.b.x - e.a.x) + (p.y - e.a.y) * (e.b.y - e.a.y)) / len;
}

struct Interval {
    double lo, hi;
};

/// How often all of [0, length] is covered by the intervals, where a
/// stretch covered fewer times counts only when it is longer than `gap`.
int fewestCover(const std::vector<Interval>& intervals, double length, double gap)
{
    std::vector<double> ends{0, length};
    for (const Interval& i : intervals) {
        ends.push_back(std::clamp(i.lo, 0.0, length));
        ends.push_back(std::clamp(i.hi, 0.0, length));
    }
    std::sort(ends.begin(), ends.end());
    // Each stretch between two interval ends is covered evenly.
    std::vector<int> cover(ends.size() - 1, 0);
    for (const Interval& i : intervals) {
        const auto first = std::lower_bound(ends.begin(), ends.end(), std::clamp(i.lo, 0.0, length));
        const auto last = std::lower_bound(ends.begin(), ends.end(), std::clamp(i.hi, 0.0, length));
        for (auto k = first; k < last; ++k)
            ++cover[static_cast<std::size_t>(k - ends.begin())];
    }
    for (int times = 1;; ++times) {
        double thin = 0; // the stretch covered fewer than `times` being walked
        for (std::size_t k = 0; k < cover.size(); ++k) {
            thin = cover[k] < times ? thin + ends[k + 1] - ends[k] : 0;
            if (thin > gap)
                return times - 1;
        }
        if (times > static_cast<int>(intervals.size()))
            return times;
    }
}

/// How often the straight cuts cover edge `e`.
int edgeCuts(const Edge& e, const std::vector<const Move*>& cuts, double tolerance)
{
    std::vector<Interval> on;
    const auto apart = [tolerance](double p, double q, double r, double s) {
        return std::max(p, q) < std::min(r, s) - tolerance || std::min(p, q) > std::max(r, s) + tolerance;
    };
    for (const Move* m : cuts)
        if (!m->arc && !apart(m->from.x, m->to.x, e.a.x, e.b.x) && !apart(m->from.y, m->to.y, e.a.y, e.b.y) &&
            offLine(m->from, e) <= tolerance && offLine(m->to, e) <= tolerance) {
            const double s = along(m->from, e), t = along(m->to, e);
            on.push_back({std::min(s, t), std::max(s, t)});
        }
    return fewestCover(on, distance(e.a, e.b), 2 * tolerance);
}

/// How much of straight motion `m` lies on none of `edges`.
double offEdges(const Move& m, const std::vector<Edge>& edges, double tolerance)
{
    const double length = m.length();
    if (m.arc)
        return length;
    std::vector<Interval> on;
    for (const Edge& e : edges)
        if (std::max(m.from.x, m.to.x) >= std::min(e.a.x, e.b.x) - tolerance &&
            std::min(m.from.x, m.to.x) <= std::max(e.a.x, e.b.x) + tolerance &&
            std::max(m.from.y, m.to.y) >= std::min(e.a.y, e.b.y) - tolerance &&
            std::min(m.from.y, m.to.y) <= std::max(e.a.y, e.b.y) + tolerance && offLine(m.from, e) <= tolerance &&
            offLine(m.to, e) <= tolerance) {
            // The edge's stretch in the motion's own measure, from its start.
            const Edge self{m.from, m.to};
            if (length == 0)
                return 0;
            const double s = along(e.a, self), t = along(e.b, self);
            on.push_back({std::min(s, t), std::max(s, t)});
        }
    std::sort(on.begin(), on.end(), [](const Interval& p, const Interval& q) { return p.lo < q.lo; });
    double covered = 0, reach = 0;
    for (const Interval& i : on) {
        const double lo = std::max(i.lo, reach), hi = std::min(i.hi, length);
        if (hi > lo)
            covered += hi - lo;
        reach = std::max(reach, hi);
    }
    return length - covered;
}

/// How many whole turns the arcs about `centre` of `radius` cover.
int circleCuts(Point centre, double radius, const std::vector<const Move*>& cuts, double tolerance)
{
    std::vector<Interval> on; // radians in [0, 2π)
    int whole = 0;
    for (const Move* m : cuts) {
        if (!m->arc || distance(m->centre, centre) > tolerance ||
            std::abs(distance(m->from, m->centre) - radius) > tolerance)
            continue;
        double sweep = m->sweep * Pi / 180;
        double start = std::atan2(m->from.y - m->centre.y, m->from.x - m->centre.x);
        if (sweep < 0) { // the same stretch, walked the other way
            start += sweep;
            sweep = -sweep;
        }
        for (; sweep >= 2 * Pi; sweep -= 2 * Pi)
            ++whole;
        start = std::fmod(start, 2 * Pi);
        if (start < 0)
            start += 2 * Pi;
        if (start + sweep <= 2 * Pi) {
            on.push_back({start, start + sweep});
        } else {
            on.push_back({start, 2 * Pi});
            on.push_back({0, start + sweep - 2 * Pi});
        }
    }
    return whole + fewestCover(on, 2 * Pi, 2 * tolerance / radius);
}

/// The farthest an arc reaches from the wafer centre.
double arcReach(const Move& m)
{
    double reach = std::max(std::hypot(m.from.x, m.from.y), std::hypot(m.to.x, m.to.y));
    const double r = distance(m.from, m.centre);
    const double c = std::hypot(m.centre.x, m.centre.y);
    if (std::abs(m.sweep) >= 360 || c == 0)
        return std::max(reach, c + r);
    const double start = std::atan2(m.from.y - m.centre.y, m.from.x - m.centre.x);
    const double away = std::atan2(m.centre.y, m.centre.x);
    double ahead = std::fmod(m.sweep > 0 ? away - start : start - away, 2 * Pi);
    if (ahead < 0)
        ahead += 2 * Pi;
    if (ahead <= std::abs(m.sweep) * Pi / 180)
        reach = std::max(reach, c + r);
    return reach;
}

double asDouble(const Number& n) { return n.toDecimal().toDouble(); }

} // namespace

ReferenceJudge::ReferenceJudge(std::string_view text, const WaferLayout& layout, double tolerance)
{
    JudgeVerdict& verdict = found_;
    Interpreter machine(text);
    if (!machine.run())
        return;
    verdict.judged = true;
    verdict.zeroShift = machine.zeroShift;

    std::vector<const Move*> cuts;
    for (const Move& m : machine.moves)
        if (m.cutting && !m.uncertain)
            cuts.push_back(&m);
        else if (m.cutting)
            verdict.uncertain = true;

    const double radius = layout.EffectiveRadius;
    const double halfDie = Decimal::fromSingle(layout.HalfDieSize).toDouble();
    const double shift = layout.FineTune.toDecimal().half().toDouble();
    const double allowance = layout.shape == DieShape::Circle ? std::abs(shift) : 0;

    // The dies, each with its fewest cuts over its edges.
    std::vector<int> fewest;
    std::vector<Edge> edges; // what a straight cut may run along
    std::vector<Point> circles;
    const double px = asDouble(layout.DiePitch), py = asDouble(layout.RowPitch);
    if (layout.shape == DieShape::Square) {
        const double cx = waferCentre().X.toDouble(), cy = waferCentre().Y.toDouble();
        for (int r = 1; r <= layout.RowTable.upperBound(); ++r) {
            const LayoutRow& row = layout.RowTable[r];
            const double y = cy - asDouble(row.PosY), x = asDouble(row.PosX) - cx;
            edges.push_back({{x, y}, {x + std::max<int>(row.DieCount, 0) * px, y}});
        }
        for (int c = 1; c <= layout.ColumnTable.upperBound(); ++c) {
            const LayoutRow& column = layout.ColumnTable[c];
            const double x = asDouble(column.PosX) - cx, top = cy - asDouble(column.PosY);
            edges.push_back({{x, top - std::max<int>(column.DieCount, 0) * py}, {x, top}});
        }
    }
    forEachDieCentre(layout, [&](const DieCentre& die) {
        const Point c{die.x.toDouble(), die.y.toDouble()};
        if (layout.shape == DieShape::Circle) {
            circles.push_back({c.x - shift, c.y});
            fewest.push_back(circleCuts(circles.back(), halfDie, cuts, tolerance));
            return;
        }
        std::vector<Edge> sides;
        if (layout.shape == DieShape::Square) {
            const Point ll{c.x - px / 2, c.y - py / 2}, lr{c.x + px / 2, c.y - py / 2};
            const Point ul{c.x - px / 2, c.y + py / 2}, ur{c.x + px / 2, c.y + py / 2};
            sides = {{ll, ul}, {ul, ur}, {lr, ur}, {ll, lr}};
        } else {
            const double a = halfDie, h = asDouble(layout.HexHalfSide);
            const double corner[6][2] = {{-1, -1}, {-1, 1}, {0, 2}, {1, 1}, {1, -1}, {0, -2}};
            for (int k = 0; k < 6; ++k) {
                const int n = (k + 1) % 6;
                sides.push_back({{c.x + corner[k][0] * a, c.y + corner[k][1] * h},
                                 {c.x + corner[n][0] * a, c.y + corner[n][1] * h}});
            }
            edges.insert(edges.end(), sides.begin(), sides.end());
        }
        int least = -1;
        for (const Edge& side : sides) {
            const int n = edgeCuts(side, cuts, tolerance);
            least = least < 0 ? n : std::min(least, n);
        }
        fewest.push_back(least);
    });
    verdict.dies = static_cast<std::int64_t>(fewest.size());
    fewest_ = std::move(fewest);

    // Cuts outside the circle and off every edge. A motion longer than the
    // tolerance is judged alone; consecutive shorter ones by what they add up to.
    double shortOff = 0, shortOut = 0;
    for (const Move& m : machine.moves) {
        if (!m.cutting || m.uncertain) {
            shortOff = shortOut = 0;
            continue;
        }
        const double length = m.length();
        const bool out = m.arc ? arcReach(m) > radius + allowance + tolerance
                               : std::hypot(m.from.x, m.from.y) > radius + tolerance ||
                                     std::hypot(m.to.x, m.to.y) > radius + tolerance;
        double off = length;
        if (layout.shape != DieShape::Circle) {
            off = offEdges(m, edges, tolerance);
        } else if (m.arc) {
            for (const Point& c : circles)
                if (distance(m.centre, c) <= tolerance && std::abs(distance(m.from, m.centre) - halfDie) <= tolerance)
                    off = 0;
        }
        if (length > tolerance) {
            shortOff = shortOut = 0;
            verdict.outside |= out;
            verdict.stray |= off > tolerance;
        } else {
            shortOff += off;
            shortOut += out ? length : 0;
            verdict.outside |= shortOut > tolerance;
            verdict.stray |= shortOff > tolerance;
        }
    }
}

JudgeVerdict ReferenceJudge::verdict(std::optional<int> passes) const
{
    JudgeVerdict verdict = found_;
    // The pass count: given, else the cuts most dies receive (the higher of two as common).
    int wanted = 1;
    if (passes) {
        wanted = std::max(*passes, 1);
    } else {
        std::map<int, int> diesByCuts;
        for (const int n : fewest_)
            ++diesByCuts[n];
        int most = 0;
        for (const auto& [n, dies] : diesByCuts)
            if (n > 0 && dies >= most) {
                wanted = n;
                most = dies;
            }
    }
    verdict.passes = wanted;
    for (const int n : fewest_)
        verdict.uncutDies += n < wanted;
    return verdict;
}

} // namespace kerf::testing
