#include "program/check/cut_check.h"

#include <algorithm>
#include <array>
#include <new>
#include <cmath>
#include <limits>
#include <numbers>
#include <set>

#include "program/reader/program_runs.h"
#include "layout/die_centres.h"

namespace kerf {

namespace {

using Index = std::int64_t;

// Work between two calls of the progress callback.
constexpr std::uint64_t kProgressStride = 1 << 18;
// Matching work a check may do (copies matched, lattice steps walked): a few
// seconds. Generated programs need a few per line of their text.
constexpr std::uint64_t kMostWork = 150'000'000;

/// Whether a lookup over `span` lattice positions for `items` things is in
/// proportion to them. Layouts of the design driver always are; a layout
/// whose positions lie far off its lattice is not, and is not indexed.
bool inProportion(Index span, std::size_t items) { return span >= 0 && span <= 8 * Index(items) + 64; }

// Lattice indices past this lie far outside any wafer (and keep clear of
// the integers' and the doubles' limits).
constexpr double kFarLattice = 1e12;

/// One axis of a lattice through the wafer centre.
struct Axis {
    double step = 1;
    double inverse = 1;

    explicit Axis(double s = 1) : step(s), inverse(s > 0 ? 1 / s : 0) {}

    /// The lattice index nearest `v`, and how far `v` lies from it (inches).
    /// False for a value far outside any wafer (or not a number).
    bool snap(double v, Index& index, double& deviation) const
    {
        const double f = v * inverse;
        if (!(std::abs(f) < kFarLattice))
            return false;
        const Index i = static_cast<Index>(f + (f >= 0 ? 0.5 : -0.5));
        index = i;
        deviation = std::abs(f - static_cast<double>(i)) * step;
        return true;
    }
};

double toDouble(const Number& n) { return n.toDecimal().toDouble(); }

/// The farthest distance from the wafer centre that an arc reaches.
double arcReach(const Motion& m)
{
    const double r = m.radius();
    const double centre = std::hypot(m.centre.x, m.centre.y);
    if (std::abs(m.sweepDegrees) >= 360.0 || centre == 0)
        return centre + r;
    // The farthest point of the whole circle lies away from the wafer centre;
    // the arc reaches it only when its sweep passes that angle.
    constexpr double turn = 2 * std::numbers::pi;
    const double start = std::atan2(m.from.y - m.centre.y, m.from.x - m.centre.x);
    const double away = std::atan2(m.centre.y, m.centre.x);
    const double sweep = m.sweepDegrees * (std::numbers::pi / 180.0);
    double ahead = std::fmod(sweep >= 0 ? away - start : start - away, turn);
    if (ahead < 0)
        ahead += turn;
    if (ahead <= std::abs(sweep))
        return centre + r;
    return std::max(std::hypot(m.from.x, m.from.y), std::hypot(m.to.x, m.to.y));
}

/// The first flagged cuts in the machine's order, whatever order the check
/// finds them in (a run's copies come after one another, runs interleave).
class FlagList {
public:
    explicit FlagList(std::size_t limit) : limit_(limit) {}

    /// False when the list is full of cuts made before this one (and so
    /// before every later copy of its run).
    bool add(std::uint64_t ordinal, const FlaggedCut& cut)
    {
        const auto later = [](const Entry& a, const Entry& b) { return a.ordinal < b.ordinal; };
        if (heap_.size() < limit_) {
            heap_.push_back({ordinal, cut});
            std::push_heap(heap_.begin(), heap_.end(), later);
            return true;
        }
        if (heap_.empty() || ordinal >= heap_.front().ordinal)
            return false;
        std::pop_heap(heap_.begin(), heap_.end(), later);
        heap_.back() = {ordinal, cut};
        std::push_heap(heap_.begin(), heap_.end(), later);
        return true;
    }

    std::vector<FlaggedCut> inOrder() const
    {
        std::vector<Entry> entries = heap_;
        std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.ordinal < b.ordinal; });
        std::vector<FlaggedCut> cuts;
        cuts.reserve(entries.size());
        for (const Entry& e : entries)
            cuts.push_back(e.cut);
        return cuts;
    }

private:
    struct Entry {
        std::uint64_t ordinal;
        FlaggedCut cut;
    };
    std::size_t limit_;
    std::vector<Entry> heap_; // the latest on top
};

/// What every shape's check shares: the report, the options, the effective
/// circle and the counts that pass inference needs.
class CheckState {
public:
    CheckState(CutReport& report, const CutCheckOptions& options, double radius)
        : report(report), options(options), tolerance(options.tolerance >= 0 ? options.tolerance : 0),
          radius(radius), outside_(options.listLimit), stray_(options.listLimit)
    {
        const double limit = radius + tolerance;
        limitSquared_ = limit * limit;
    }

    CutReport& report;
    const CutCheckOptions& options;
    const double tolerance; // NaN and negatives: 0
    const double radius;
    std::uint64_t cuttingMotions = 0; // set when the run is over
    std::uint64_t retracedCuts = 0;   // cutting motions of passes that retrace an earlier one
    /// Counts `units` of matching work (copies matched, lattice steps walked):
    /// false once the whole goes past the bound.
    bool work(std::uint64_t units)
    {
        work_ = units > kMostWork - std::min(work_, kMostWork) ? kMostWork + 1 : work_ + units;
        return withinBounds();
    }
    bool withinBounds() const { return work_ <= kMostWork; }

    /// How many equal copies the motion being matched stands for: copies
    /// that retrace one path are matched once and counted this many times.
    std::uint64_t times = 1;
    /// The place of the motion being matched in the machine's order, and of
    /// the first of its retracing copies after it (at most a list's length).
    std::uint64_t ordinal = 0;
    std::vector<std::uint64_t> retraceOffsets{0};

    /// Puts the flagged cuts in the report, in the machine's order.
    void listFlagged()
    {
        report.outside = outside_.inOrder();
        report.stray = stray_.inOrder();
    }

    void stray(const Motion& m) { flag(report.strayCuts, stray_, m); }
    void matched(double deviation)
    {
        if (deviation > report.worstDeviation) // rarely: no chain of maxima through memory
            report.worstDeviation = deviation;
    }
    bool inside(const ProgramPoint& p) const { return p.x * p.x + p.y * p.y <= limitSquared_; }

    /// Flags a straight cut with an end outside the effective circle; true
    /// when the cut has no length.
    bool straight(const Motion& m)
    {
        if (!inside(m.from) || !inside(m.to))
            flag(report.outsideCuts, outside_, m);
        const double dx = m.to.x - m.from.x, dy = m.to.y - m.from.y;
        const bool point = dx * dx + dy * dy <= tolerance * tolerance;
        report.pointCuts += point ? times : 0;
        return point;
    }

    /// Flags an arc that reaches past the effective circle by more than `allowance`.
    void arc(const Motion& m, double allowance)
    {
        const double overshoot = arcReach(m) - radius;
        overshoot_ = std::max(overshoot_, overshoot);
        if (!(overshoot <= allowance + tolerance))
            flag(report.outsideCuts, outside_, m);
    }

    /// Whether two arcs reach past the effective circle by no more than
    /// `allowance`; if so, they count for the farthest reach.
    bool arcsWithin(const Motion& a, const Motion& b, double allowance)
    {
        const double reach = std::max(arcReach(a), arcReach(b)) - radius;
        if (!(reach <= allowance + tolerance))
            return false;
        overshoot_ = std::max(overshoot_, reach);
        return true;
    }

    /// The farthest arc reach past the effective circle, 0 without arcs.
    double overshoot() const { return overshoot_ == -std::numeric_limits<double>::infinity() ? 0 : overshoot_; }

    /// The pass count that repeat blocks give: how often the cuts are run.
    int repeatPasses() const
    {
        const std::uint64_t firstPassCuts = cuttingMotions - retracedCuts;
        if (firstPassCuts == 0)
            return 1;
        const std::uint64_t passes = 1 + retracedCuts / firstPassCuts;
        return static_cast<int>(std::min<std::uint64_t>(passes, std::numeric_limits<int>::max()));
    }

private:
    void flag(std::int64_t& total, FlagList& list, const Motion& m)
    {
        const auto most = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
        total = static_cast<std::int64_t>(std::min(static_cast<std::uint64_t>(total) + std::min(times, most), most));
        for (const std::uint64_t offset : retraceOffsets)
            if (!list.add(ordinal + offset, {m.line, m.from, m.to}))
                break;
    }

    double limitSquared_ = 0;
    double overshoot_ = -std::numeric_limits<double>::infinity();
    std::uint64_t work_ = 0;
    FlagList outside_, stray_;
};

/// The rows of dies of a layout on a lattice on which the dies of a row lie
/// two columns apart: a die is found from its lattice point with a few
/// subtractions and one lookup.
class DieGrid {
public:
    struct Row {
        Index ix = 0; // lattice column of the leftmost die
        Index iy = 0;
        int count = 0;
        int number = 0;  // from the top, 1-based
        Index first = 0; // index of its leftmost die among all dies
        double x = 0;    // centre of the leftmost die
        double y = 0;
        bool placed = false; // on the lattice (rows far off it are never found)
        Index last() const { return ix + 2 * Index(count - 1); }
    };

    DieGrid(const WaferLayout& layout, Axis ax, Axis ay, double& latticeDeviation)
    {
        const double pitch = toDouble(layout.DiePitch);
        forEachDieRow(layout, [&](const DieRow& row) {
            if (row.count <= 0)
                return;
            Row r;
            r.x = row.x.toDouble();
            r.y = row.y.toDouble();
            r.count = row.count;
            r.number = row.row;
            r.first = dies_;
            dies_ += row.count;
            // The dies of a row drift from the lattice evenly: the end dies drift most.
            double dx = 0, dy = 0, dLast = 0;
            Index last = 0;
            r.placed = ax.snap(r.x, r.ix, dx) && ay.snap(r.y, r.iy, dy) &&
                       ax.snap(r.x + pitch * (row.count - 1), last, dLast) && last == r.ix + 2 * Index(row.count - 1);
            latticeDeviation = r.placed ? std::max({latticeDeviation, dx, dy, dLast})
                                        : std::numeric_limits<double>::infinity();
            rows_.push_back(r);
        });
        bool any = false;
        for (const Row& r : rows_) {
            if (!r.placed)
                continue;
            if (!any) {
                iyMin_ = iyMax_ = r.iy;
                ixMin_ = r.ix;
                ixMax_ = r.last();
                any = true;
            }
            iyMin_ = std::min(iyMin_, r.iy);
            iyMax_ = std::max(iyMax_, r.iy);
            ixMin_ = std::min(ixMin_, r.ix);
            ixMax_ = std::max(ixMax_, r.last());
        }
        if (!any)
            return;
        if (!inProportion(iyMax_ - iyMin_ + 1, rows_.size())) {
            for (Row& r : rows_)
                r.placed = false;
            latticeDeviation = std::numeric_limits<double>::infinity();
            return;
        }
        rowAt_.assign(static_cast<std::size_t>(iyMax_ - iyMin_ + 1), -1);
        for (std::size_t k = 0; k < rows_.size(); ++k) {
            if (!rows_[k].placed)
                continue;
            auto& slot = rowAt_[static_cast<std::size_t>(rows_[k].iy - iyMin_)];
            if (slot < 0) // two rows on one lattice row: the dies of the second are never found
                slot = static_cast<std::int32_t>(k);
        }
    }

    const std::vector<Row>& rows() const { return rows_; }
    Index dies() const { return dies_; }
    bool empty() const { return rowAt_.empty(); }
    Index ixMin() const { return ixMin_; }
    Index ixMax() const { return ixMax_; }
    Index iyMin() const { return iyMin_; }
    Index iyMax() const { return iyMax_; }

    const Row* rowAt(Index iy) const
    {
        const Index k = iy - iyMin_;
        if (k < 0 || k >= static_cast<Index>(rowAt_.size()))
            return nullptr;
        const std::int32_t r = rowAt_[static_cast<std::size_t>(k)];
        return r < 0 ? nullptr : &rows_[static_cast<std::size_t>(r)];
    }

    /// The index of the die centred on lattice point (ix, iy), or −1.
    Index find(Index ix, Index iy) const
    {
        const Row* row = rowAt(iy);
        if (!row)
            return -1;
        const Index d = ix - row->ix;
        if (d < 0 || (d & 1) != 0 || (d >> 1) >= row->count)
            return -1;
        return row->first + (d >> 1);
    }

    /// The steps i in [0, steps) of a walk from (x0, y0) by (ux, uy) whose
    /// start lies within `margin` of the dies' box: [first, last], empty when
    /// last < first.
    void stepsNearBox(Index x0, Index y0, Index ux, Index uy, Index steps, Index margin, Index& first,
                      Index& last) const
    {
        first = 0;
        last = empty() ? -1 : steps - 1;
        const auto floorDiv = [](Index a, Index b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); };
        const auto clip = [&](Index p, Index u, Index lo, Index hi) {
            if (u == 0) {
                if (p < lo || p > hi)
                    last = -1;
                return;
            }
            // lo <= p + u i <= hi
            first = std::max(first, u > 0 ? -floorDiv(p - lo, u) : -floorDiv(p - hi, u));
            last = std::min(last, u > 0 ? floorDiv(hi - p, u) : floorDiv(lo - p, u));
        };
        clip(x0, ux, ixMin_ - margin, ixMax_ + margin);
        clip(y0, uy, iyMin_ - margin, iyMax_ + margin);
    }

private:
    std::vector<Row> rows_;
    std::vector<std::int32_t> rowAt_; // by iy − iyMin_: index into rows_, −1 for none
    Index dies_ = 0;
    Index ixMin_ = 0, ixMax_ = 0, iyMin_ = 0, iyMax_ = 0;
};

/// The uncut list and the totals, filled die by die in row order.
class DieTally {
public:
    DieTally(CheckState& state, std::uint64_t workBefore, std::uint64_t totalWork)
        : state_(state), done_(workBefore), total_(totalWork)
    {
    }

    void die(const DieGrid::Row& row, int j, double pitch, std::uint8_t uncutEdges, std::uint64_t cuts, bool fullyCut)
    {
        CutReport& report = state_.report;
        if (fullyCut) {
            ++report.diesFullyCut;
            return;
        }
        ++report.uncutDies;
        if (report.uncut.size() < state_.options.listLimit)
            report.uncut.push_back({row.number, j + 1, {row.x + pitch * j, row.y}, uncutEdges,
                                    static_cast<int>(std::min<std::uint64_t>(cuts, std::numeric_limits<int>::max()))});
    }

    /// Dies [from, to) of a row, all alike: listed one by one only while the
    /// list has room.
    void dies(const DieGrid::Row& row, int from, int to, double pitch, std::uint8_t uncutEdges, std::uint64_t cuts,
              bool fullyCut)
    {
        CutReport& report = state_.report;
        if (fullyCut) {
            report.diesFullyCut += to - from;
            return;
        }
        const int listed = static_cast<int>(
            std::min<std::size_t>(state_.options.listLimit - std::min(state_.options.listLimit, report.uncut.size()),
                                  static_cast<std::size_t>(to - from)));
        for (int j = from; j < from + listed; ++j)
            die(row, j, pitch, uncutEdges, cuts, false);
        report.uncutDies += to - from - listed;
    }

    /// After each row: false when the check is cancelled.
    bool rowDone(int count)
    {
        done_ += static_cast<std::uint64_t>(count);
        if (!state_.options.progress || done_ < next_)
            return true;
        next_ = done_ + kProgressStride;
        if (state_.options.progress(done_, total_))
            return true;
        state_.report.cancelled = true;
        return false;
    }

private:
    CheckState& state_;
    std::uint64_t done_;
    std::uint64_t total_;
    std::uint64_t next_ = 0;
};

/// Counts by cut count, small counts without a map lookup each.
class Histogram {
public:
    void add(std::uint64_t count, std::int64_t n = 1)
    {
        if (count < small_.size())
            small_[count] += n;
        else
            large_[static_cast<int>(std::min<std::uint64_t>(count, std::numeric_limits<int>::max()))] += n;
    }
    std::map<int, std::int64_t> result() const
    {
        std::map<int, std::int64_t> all = large_;
        for (std::size_t k = 0; k < small_.size(); ++k)
            if (small_[k] != 0)
                all[static_cast<int>(k)] += small_[k];
        return all;
    }

private:
    std::vector<std::int64_t> small_ = std::vector<std::int64_t>(256, 0);
    std::map<int, std::int64_t> large_;
};

/// Counts over the dies of one row, kept as events: +c at the first die of a
/// range, −c past its last; sorted and merged when they outgrow the row, so
/// that a run of equal cuts costs two events and never one per die.
class RowCounts {
public:
    void add(Index from, Index to, std::int64_t count, Index dies)
    {
        events_.push_back({from, count});
        events_.push_back({to, -count});
        if (events_.size() > 2 * static_cast<std::size_t>(dies) + kSlack)
            merge();
    }

    /// Calls f(from, to, count) for consecutive ranges of equal count that
    /// cover dies [0, dies).
    template <class F>
    void forEachRange(Index dies, F&& f)
    {
        merge();
        std::int64_t running = 0;
        Index at = 0;
        std::size_t e = 0;
        while (at < dies) {
            for (; e < events_.size() && events_[e].at <= at; ++e)
                running += events_[e].delta;
            const Index next = e < events_.size() ? std::min(events_[e].at, dies) : dies;
            f(at, next, std::max<std::int64_t>(running, 0));
            at = next;
        }
    }

private:
    static constexpr std::size_t kSlack = 64; // events a row keeps before its first merge
    struct Event {
        Index at;
        std::int64_t delta;
    };

    void merge()
    {
        std::sort(events_.begin(), events_.end(), [](const Event& a, const Event& b) { return a.at < b.at; });
        std::size_t out = 0;
        for (std::size_t i = 0; i < events_.size();) {
            Event merged{events_[i].at, 0};
            for (; i < events_.size() && events_[i].at == merged.at; ++i)
                merged.delta += events_[i].delta;
            if (merged.delta != 0)
                events_[out++] = merged;
        }
        events_.resize(out);
    }

    std::vector<Event> events_;
};

// ---------------------------------------------------------------- hexagons

// A lattice of half die widths across and half sides up. About a die centre
// its corners are k = 0..5: (−1,−1), (−1,1), (0,2), (1,1), (1,−1), (0,−2);
// edge k runs from corner k to corner k+1. Every edge is kept once, at its
// lower end, as one of three kinds: up (to (x, y+2)), up right (to
// (x+1, y+1)) and up left (to (x−1, y+1)).
constexpr int kCornerX[6] = {-1, -1, 0, 1, 1, 0};
constexpr int kCornerY[6] = {-1, 1, 2, 1, -1, -2};
enum EdgeKind : int { Up = 0, UpRight = 1, UpLeft = 2 };
// Edge k of the die at (cx, cy): its lower end and kind.
constexpr int kEdgeX[6] = {-1, -1, 1, 1, 0, 0};
constexpr int kEdgeY[6] = {-1, 1, 1, -1, -2, -2};
constexpr EdgeKind kEdgeKind[6] = {Up, UpRight, UpLeft, Up, UpRight, UpLeft};

// The cuts of each kind of edge along a row of corners are counted by
// RowCounts over the corners' columns: a row of equal edges costs O(1), the
// check needs no memory per die.
class HexagonCuts {
public:
    HexagonCuts(const WaferLayout& layout, CheckState& state)
        : state_(state), ax_(Decimal::fromSingle(layout.HalfDieSize).toDouble()), ay_(toDouble(layout.HexHalfSide)),
          grid_(layout, ax_, ay_, state.report.latticeDeviation), toleranceX_(state.tolerance * ax_.inverse),
          toleranceY_(state.tolerance * ay_.inverse)
    {
        buildLines();
    }

    Index dies() const { return grid_.dies(); }
    double allowance() const { return 0; }

    /// `copies` copies of the straight cut `first`, each `step` further on:
    /// true when the copies are the edges of one kind of consecutive dies of
    /// a row, inside the circle, counted at once; false leaves them to be
    /// matched one by one.
    bool cutRun(const Motion& first, ProgramPoint step, std::uint64_t copies, double)
    {
        if (first.kind != MotionKind::Straight || copies < 2 || !edgesInside_ || copies > kMostRun)
            return false;
        Motion last = first;
        const double along = step.x * static_cast<double>(copies - 1);
        const double across = step.y * static_cast<double>(copies - 1);
        last.from = {last.from.x + along, last.from.y + across};
        last.to = {last.to.x + along, last.to.y + across};
        Index x0, y0, x1, y1, u0, v0, u1, v1;
        lastValid_ = false;
        const bool firstOn = snapEnds(first, x0, y0, x1, y1);
        lastValid_ = false;
        const bool lastOn = firstOn && snapEnds(last, u0, v0, u1, v1);
        lastValid_ = false;
        // The same edge a die further on per copy: two columns.
        const auto span = static_cast<Index>(copies - 1);
        if (!lastOn || v0 != y0 || v1 != y1 || u1 - u0 != x1 - x0 || std::abs(u0 - x0) != 2 * span)
            return false;
        EdgeLine* line = nullptr;
        EdgeLine* lineLast = nullptr;
        Index q = 0, qLast = 0;
        if (!edgeAt(x0, y0, x1, y1, line, q) || !edgeAt(u0, v0, u1, v1, lineLast, qLast) || line != lineLast)
            return false;
        const Index lo = std::min(q, qLast), hi = std::max(q, qLast) + 1;
        if (!line->coversAll(lo, hi))
            return false;
        line->counts.add(lo, hi, added(), line->n);
        return true;
    }

    void cut(const Motion& m)
    {
        Index x0, y0, x1, y1;
        if (m.kind == MotionKind::Straight && snapEnds(m, x0, y0, x1, y1)) {
            // The common case: one edge, inside the circle when all are.
            EdgeLine* line = nullptr;
            Index q = 0;
            if (edgeAt(x0, y0, x1, y1, line, q) && line->covers(q)) {
                line->counts.add(q, q + 1, added(), line->n);
                if (!edgesInside_)
                    state_.straight(m);
                return;
            }
            state_.straight(m);
            return across(m, x0, y0, x1, y1);
        }
        if (m.kind == MotionKind::Straight)
            state_.straight(m);
        state_.stray(m);
    }

    int inferredPasses(PassSource&) const { return state_.repeatPasses(); }

    void finish(int passes, DieTally& tally)
    {
        CutReport& report = state_.report;
        state_.matched(std::max(worstX_ * ax_.step, worstY_ * ay_.step));
        const auto wanted = static_cast<std::uint64_t>(std::min<int>(passes, int(kMostCuts)));
        Histogram histogram;
        // Each edge once: the ranges of counts against the union of the dies' edges.
        for (EdgeLine& line : lines_) {
            line.ranges.clear();
            line.counts.forEachRange(line.n, [&line](Index from, Index to, std::int64_t c) {
                line.ranges.push_back({from, to, std::min<std::uint64_t>(static_cast<std::uint64_t>(c), kMostCuts)});
            });
            std::size_t r = 0;
            for (const Interval& v : line.valid) {
                for (; r < line.ranges.size() && line.ranges[r].to <= v.from; ++r) {
                }
                for (std::size_t k = r; k < line.ranges.size() && line.ranges[k].from < v.to; ++k) {
                    const Index len = std::min(v.to, line.ranges[k].to) - std::max(v.from, line.ranges[k].from);
                    histogram.add(line.ranges[k].count, len);
                    if (line.ranges[k].count < wanted)
                        report.uncutEdges += len;
                }
            }
        }
        report.elementsByCutCount = histogram.result();
        const double pitch = 2 * ax_.step;
        for (const DieGrid::Row& row : grid_.rows()) {
            if (!row.placed || lines_.empty()) {
                tally.dies(row, 0, row.count, pitch, 0b111111, 0, false);
            } else {
                sweepRow(row, wanted, pitch, tally);
            }
            if (!tally.rowDone(row.count))
                return;
        }
    }

private:
    static constexpr std::uint64_t kMostCuts = 254; // counts stop here
    static constexpr std::uint64_t kMostRun = std::uint64_t(1) << 40;

    struct Interval {
        Index from = 0;
        Index to = 0; // past the last
    };
    struct Range {
        Index from = 0;
        Index to = 0;
        std::uint64_t count = 0;
    };

    // The edges of one kind whose lower ends lie on one row of corners, by
    // their column q (every other lattice column, from the row's first).
    struct EdgeLine {
        Index n = 0;
        std::vector<Interval> valid; // the dies' edges, sorted and merged
        RowCounts counts;
        std::vector<Range> ranges; // the counts, once the run is over

        bool covers(Index q) const { return coversAll(q, q + 1); }
        bool coversAll(Index lo, Index hi) const
        {
            const auto it = std::upper_bound(valid.begin(), valid.end(), lo,
                                             [](Index v, const Interval& i) { return v < i.from; });
            return it != valid.begin() && std::prev(it)->to >= hi;
        }
    };

    // The corners on one lattice row: every other column from x0 to x1, and
    // the lines of the kinds of edges that start there.
    struct CornerRow {
        Index x0 = 0;
        Index x1 = -1; // last corner column; none while x1 < x0
        bool mixed = false;
        std::int32_t line[3] = {-1, -1, -1}; // by EdgeKind: index into lines_, −1 for none
    };

    std::int64_t added() const { return static_cast<std::int64_t>(std::min<std::uint64_t>(state_.times, kMostCuts)); }

    const CornerRow* cornerRow(Index y) const
    {
        const Index k = y - yMin_;
        return k < 0 || k >= static_cast<Index>(rows_.size()) ? nullptr : &rows_[static_cast<std::size_t>(k)];
    }

    /// The line and column of edge k of the first die of a placed row.
    EdgeLine* edgeOf(const DieGrid::Row& row, int k, Index& q)
    {
        const CornerRow* r = cornerRow(row.iy + kEdgeY[k]);
        q = (row.ix + kEdgeX[k] - r->x0) >> 1;
        return &lines_[static_cast<std::size_t>(r->line[kEdgeKind[k]])];
    }

    void buildLines()
    {
        if (grid_.empty())
            return;
        yMin_ = grid_.iyMin() - 2;
        rows_.assign(static_cast<std::size_t>(grid_.iyMax() + 1 - yMin_ + 1), {});
        const auto take = [&](Index y, Index from, Index to) {
            CornerRow& r = rows_[static_cast<std::size_t>(y - yMin_)];
            if (r.x1 < r.x0) {
                r.x0 = from;
                r.x1 = to;
                return;
            }
            r.mixed |= ((from - r.x0) & 1) != 0;
            r.x0 = std::min(r.x0, from);
            r.x1 = std::max(r.x1, to);
        };
        for (const DieGrid::Row& row : grid_.rows()) {
            if (!row.placed)
                continue;
            take(row.iy - 2, row.ix, row.last());
            take(row.iy - 1, row.ix - 1, row.last() + 1);
            take(row.iy + 1, row.ix - 1, row.last() + 1);
        }
        Index span = 0;
        bool mixed = false;
        for (const CornerRow& r : rows_) {
            mixed |= r.mixed;
            if (r.x1 >= r.x0)
                span += ((r.x1 - r.x0) >> 1) + 1;
        }
        // Corners of both parities on one row, or rows far apart in their
        // columns: the layout is off its lattice and no edge is found.
        if (mixed || !inProportion(span, static_cast<std::size_t>(grid_.dies()) * 6)) {
            rows_.clear();
            state_.report.latticeDeviation = std::numeric_limits<double>::infinity();
            return;
        }
        bool inside = true;
        for (const DieGrid::Row& row : grid_.rows()) {
            if (!row.placed)
                continue;
            for (int k = 0; k < 6; ++k) {
                CornerRow& r = rows_[static_cast<std::size_t>(row.iy + kEdgeY[k] - yMin_)];
                std::int32_t& l = r.line[kEdgeKind[k]];
                if (l < 0) {
                    l = static_cast<std::int32_t>(lines_.size());
                    lines_.emplace_back();
                    lines_.back().n = ((r.x1 - r.x0) >> 1) + 1;
                }
                const Index q = (row.ix + kEdgeX[k] - r.x0) >> 1;
                lines_[static_cast<std::size_t>(l)].valid.push_back({q, q + row.count});
            }
            // The farthest corners of a row are those of its end dies.
            for (const Index cx : {row.ix, row.last()})
                for (int k = 0; k < 6; ++k)
                    inside &= std::hypot((cx + kCornerX[k]) * ax_.step, (row.iy + kCornerY[k]) * ay_.step) <=
                              state_.radius;
        }
        for (EdgeLine& line : lines_) {
            auto& v = line.valid;
            std::sort(v.begin(), v.end(), [](const Interval& a, const Interval& b) { return a.from < b.from; });
            std::size_t out = 0;
            for (const Interval& i : v) {
                if (out > 0 && i.from <= v[out - 1].to)
                    v[out - 1].to = std::max(v[out - 1].to, i.to);
                else
                    v[out++] = i;
            }
            v.resize(out);
        }
        edgesInside_ = inside;
    }

    /// The dies of a row in stretches whose six edges keep their counts.
    void sweepRow(const DieGrid::Row& row, std::uint64_t wanted, double pitch, DieTally& tally)
    {
        const std::vector<Range>* ranges[6];
        Index q0[6];
        std::size_t at[6];
        for (int k = 0; k < 6; ++k) {
            ranges[k] = &edgeOf(row, k, q0[k])->ranges;
            // The range holding the first die's edge.
            const auto& r = *ranges[k];
            at[k] = static_cast<std::size_t>(
                std::upper_bound(r.begin(), r.end(), q0[k], [](Index v, const Range& x) { return v < x.to; }) -
                r.begin());
        }
        Index j = 0;
        while (j < row.count) {
            Index end = row.count;
            std::uint8_t uncut = 0;
            std::uint64_t fewest = kMostCuts;
            for (int k = 0; k < 6; ++k) {
                const auto& r = *ranges[k];
                while (at[k] < r.size() && r[at[k]].to <= q0[k] + j)
                    ++at[k];
                const std::uint64_t c = at[k] < r.size() ? r[at[k]].count : 0;
                end = std::min(end, at[k] < r.size() ? r[at[k]].to - q0[k] : row.count);
                fewest = std::min(fewest, c);
                if (c < wanted)
                    uncut |= static_cast<std::uint8_t>(1u << k);
            }
            tally.dies(row, static_cast<int>(j), static_cast<int>(end), pitch, uncut, fewest, uncut == 0);
            j = end;
        }
    }

    /// The line and column of the edge from lattice point 0 to 1; false when no edge runs so.
    bool edgeAt(Index x0, Index y0, Index x1, Index y1, EdgeLine*& line, Index& q)
    {
        if (y1 < y0) {
            std::swap(x0, x1);
            std::swap(y0, y1);
        }
        const Index dx = x1 - x0, dy = y1 - y0;
        EdgeKind kind;
        if (dx == 0 && dy == 2)
            kind = Up;
        else if (dy == 1 && dx == 1)
            kind = UpRight;
        else if (dy == 1 && dx == -1)
            kind = UpLeft;
        else
            return false;
        const CornerRow* row = cornerRow(y0);
        if (!row || row->line[kind] < 0)
            return false;
        const Index d = x0 - row->x0;
        if (d < 0 || (d & 1) != 0 || x0 > row->x1)
            return false;
        line = &lines_[static_cast<std::size_t>(row->line[kind])];
        q = d >> 1;
        return true;
    }

    /// A cut that is not one die edge: a point, or a cut across several.
    void across(const Motion& m, Index x0, Index y0, Index x1, Index y1)
    {
        const Index dx = x1 - x0, dy = y1 - y0;
        if (dx == 0 && dy == 0) {
            if (!isCorner(x0, y0))
                state_.stray(m);
            return;
        }
        Index ux, uy, steps;
        if (dx == 0 && dy % 2 == 0) {
            ux = 0;
            uy = dy > 0 ? 2 : -2;
            steps = std::abs(dy) / 2;
        } else if (std::abs(dx) == std::abs(dy)) {
            ux = dx > 0 ? 1 : -1;
            uy = dy > 0 ? 1 : -1;
            steps = std::abs(dx);
        } else {
            return state_.stray(m); // no edge runs that way
        }
        // No two edges of the tiling continue one another, so part of such a
        // cut runs through a die or past the dies: it is a stray cut, and
        // every edge it covers is counted. Only steps near the dies are
        // looked at.
        Index first = 0, last = -1;
        grid_.stepsNearBox(x0, y0, ux, uy, steps, 3, first, last);
        if (!state_.work(static_cast<std::uint64_t>(std::max<Index>(last - first + 1, 0))))
            return state_.stray(m);
        for (Index i = first; i <= last; ++i) {
            EdgeLine* line = nullptr;
            Index q = 0;
            if (edgeAt(x0 + ux * i, y0 + uy * i, x0 + ux * (i + 1), y0 + uy * (i + 1), line, q) && line->covers(q))
                line->counts.add(q, q + 1, added(), line->n);
        }
        state_.stray(m);
    }

    /// Snaps a coordinate to its lattice index; `off` gets how far it lies
    /// from it in lattice steps. Rounds by adding and taking away 1.5 × 2^52,
    /// which leaves no fraction (no branch, no conversion back).
    static bool snap(double v, double inverse, Index& index, double& off)
    {
        constexpr double round = 6755399441055744.0;
        const double f = v * inverse;
        if (!(std::abs(f) < kFarLattice))
            return false;
        const double r = (f + round) - round;
        index = static_cast<Index>(r);
        off = std::abs(f - r);
        return true;
    }

    /// Snaps both ends of a straight cut: false when an end lies farther from
    /// its lattice point than the tolerance.
    bool snapEnds(const Motion& m, Index& x0, Index& y0, Index& x1, Index& y1)
    {
        // A motion starts where the last one ended: its start is snapped already.
        if (!lastValid_ || !(m.from == lastEnd_)) {
            lastValid_ = snap(m.from.x, ax_.inverse, lastX_, lastOffX_) && snap(m.from.y, ay_.inverse, lastY_, lastOffY_);
            if (!lastValid_)
                return false;
            lastEnd_ = m.from;
        }
        x0 = lastX_;
        y0 = lastY_;
        const bool fromOn = lastOffX_ <= toleranceX_ && lastOffY_ <= toleranceY_;
        lastValid_ = snap(m.to.x, ax_.inverse, lastX_, lastOffX_) && snap(m.to.y, ay_.inverse, lastY_, lastOffY_);
        if (!lastValid_)
            return false;
        lastEnd_ = m.to;
        x1 = lastX_;
        y1 = lastY_;
        if (!fromOn || lastOffX_ > toleranceX_ || lastOffY_ > toleranceY_)
            return false;
        // The worst ends, in lattice steps (reported in inches at the end).
        if (lastOffX_ > worstX_)
            worstX_ = lastOffX_;
        if (lastOffY_ > worstY_)
            worstY_ = lastOffY_;
        return true;
    }

    bool isCorner(Index ix, Index iy) const
    {
        for (int k = 0; k < 6; ++k)
            if (grid_.find(ix - kCornerX[k], iy - kCornerY[k]) >= 0)
                return true;
        return false;
    }

    CheckState& state_;
    Axis ax_, ay_;
    DieGrid grid_;
    std::vector<CornerRow> rows_; // by y − yMin_
    Index yMin_ = 0;
    std::vector<EdgeLine> lines_;
    bool edgesInside_ = false; // every corner of every die lies in the effective circle
    double toleranceX_ = 0, toleranceY_ = 0; // in lattice steps
    double worstX_ = 0, worstY_ = 0;
    ProgramPoint lastEnd_;
    Index lastX_ = 0, lastY_ = 0;
    double lastOffX_ = 0, lastOffY_ = 0;
    bool lastValid_ = false;
};

// ----------------------------------------------------------------- circles

// Die centres on a lattice of half pitches across and row pitches up (the rows
// alternate by half a pitch). The turns cut about the dies are counted per
// row (RowCounts): a row of equal arcs costs O(1), whatever its dies.
class CircleCuts {
public:
    CircleCuts(const WaferLayout& layout, CheckState& state)
        : state_(state), shift_(layout.FineTune.toDecimal().half().toDouble()),
          radius_(Decimal::fromSingle(layout.HalfDieSize).toDouble()),
          ax_(layout.DiePitch.toDecimal().half().toDouble()), ay_(toDouble(layout.RowPitch)),
          grid_(layout, ax_, ay_, state.report.latticeDeviation), turns_(grid_.rows().size())
    {
    }

    Index dies() const { return grid_.dies(); }
    /// How far past the effective circle an arc may reach: the half fine-tune
    /// that moves a die's arc to the left.
    double allowance() const { return std::abs(shift_); }

    void cut(const Motion& m)
    {
        if (m.kind != MotionKind::Arc) {
            state_.straight(m);
            return state_.stray(m); // a straight cut is no round die's
        }
        std::uint64_t n = 0;
        const DieGrid::Row* row = nullptr;
        Index j = 0;
        double deviation = 0;
        if (!aboutDie(m, n, row, j, deviation))
            return state_.stray(m);
        state_.matched(deviation);
        count(*row, j, j + 1, n, 1);
    }

    /// `count` copies of the arc `first`, each `step` further on: true when
    /// they all fall on dies of one row and inside the circle, and are
    /// counted so at once; false leaves them to be matched one by one.
    bool cutRun(const Motion& first, ProgramPoint step, std::uint64_t copies, double allowance)
    {
        // A step across the rows lands the last copy in another row (checked below).
        if (first.kind != MotionKind::Arc || copies < 2)
            return false;
        const double pitch = 2 * ax_.step;
        const double direction = step.x > 0 ? 1 : -1;
        // The step is one pitch, closely enough that the last copy lands on its lattice point too.
        if (std::abs(step.x - direction * pitch) * static_cast<double>(copies) > state_.tolerance)
            return false;
        Motion last = first;
        const double along = step.x * static_cast<double>(copies - 1);
        const double across = step.y * static_cast<double>(copies - 1);
        last.from = {last.from.x + along, last.from.y + across};
        last.to = {last.to.x + along, last.to.y + across};
        last.centre = {last.centre.x + along, last.centre.y + across};
        std::uint64_t n = 0, nLast = 0;
        const DieGrid::Row* row = nullptr;
        const DieGrid::Row* rowLast = nullptr;
        Index j = 0, jLast = 0;
        double d0 = 0, d1 = 0;
        if (!aboutDie(first, n, row, j, d0) || !aboutDie(last, nLast, rowLast, jLast, d1) || row != rowLast ||
            std::abs(jLast - j) + 1 != static_cast<Index>(std::min<std::uint64_t>(copies, kMostIndex)))
            return false;
        // An arc's reach is convex along the row: the end copies reach farthest.
        if (!state_.arcsWithin(first, last, allowance))
            return false;
        state_.matched(std::max(d0, d1));
        count(*row, std::min(j, jLast), std::max(j, jLast) + 1, n, copies);
        return true;
    }

    /// The turns that most arcs about dies make.
    int inferredPasses(PassSource& source)
    {
        if (arcsByTurns_.empty())
            return state_.repeatPasses();
        source = PassSource::Arcs;
        const auto most = std::max_element(arcsByTurns_.begin(), arcsByTurns_.end(),
                                           [](const auto& a, const auto& b) { return a.second < b.second; });
        return static_cast<int>(most->first);
    }

    void finish(int passes, DieTally& tally)
    {
        Histogram histogram;
        const double pitch = 2 * ax_.step;
        const auto& rows = grid_.rows();
        for (std::size_t k = 0; k < rows.size(); ++k) {
            const DieGrid::Row& row = rows[k];
            turns_[k].forEachRange(row.count, [&](Index from, Index to, std::int64_t sum) {
                const std::uint64_t t = std::min<std::uint64_t>(static_cast<std::uint64_t>(sum), kMostTurns);
                histogram.add(t, to - from);
                tally.dies(row, static_cast<int>(from), static_cast<int>(to), pitch, 0, t,
                           t >= static_cast<std::uint64_t>(passes) || t == kMostTurns);
            });
            if (!tally.rowDone(row.count))
                return;
        }
        state_.report.elementsByCutCount = histogram.result();
    }

private:
    static constexpr std::uint64_t kMostTurns = 65535;  // counts stop here
    static constexpr std::uint64_t kMostIndex = 1ULL << 40; // beyond any row

    /// Whether an arc is a round die's cut: whole turns of the die's radius
    /// about a die centre (shifted by the fine-tune). Gives its turns, row, die
    /// and how far its centre lies from its lattice point.
    bool aboutDie(const Motion& m, std::uint64_t& turns, const DieGrid::Row*& row, Index& j, double& deviation) const
    {
        const double t = std::abs(m.sweepDegrees) / 360.0;
        const double whole = std::round(t);
        if (whole < 1 || std::abs(t - whole) > 1e-9 || std::abs(m.radius() - radius_) > state_.tolerance)
            return false;
        Index ix, iy;
        double dx = 0, dy = 0;
        if (!ax_.snap(m.centre.x + shift_, ix, dx) || !ay_.snap(m.centre.y, iy, dy) ||
            std::max(dx, dy) > state_.tolerance)
            return false;
        if (grid_.find(ix, iy) < 0)
            return false;
        row = grid_.rowAt(iy);
        j = (ix - row->ix) / 2;
        deviation = std::max(dx, dy);
        turns = whole > kMostTurns ? kMostTurns : static_cast<std::uint64_t>(whole);
        return true;
    }

    /// Dies [from, to) of `row` cut `turns` whole turns by each of `copies` arcs.
    void count(const DieGrid::Row& row, Index from, Index to, std::uint64_t turns, std::uint64_t copies)
    {
        const std::uint64_t times = std::min<std::uint64_t>(state_.times, kMostTurns);
        const std::int64_t added = static_cast<std::int64_t>(turns * times);
        const auto k = static_cast<std::size_t>(&row - grid_.rows().data());
        turns_[k].add(from, to, added, row.count);
        const std::uint64_t arcs = copies > kSaturated / state_.times ? kSaturated : copies * state_.times;
        std::uint64_t& tally = arcsByTurns_[turns];
        tally = arcs > kSaturated - tally ? kSaturated : tally + arcs;
    }

    static constexpr std::uint64_t kSaturated = std::numeric_limits<std::uint64_t>::max();

    CheckState& state_;
    double shift_;
    double radius_;
    Axis ax_, ay_;
    DieGrid grid_;
    std::vector<RowCounts> turns_; // whole turns per row of dies
    std::map<std::uint64_t, std::uint64_t> arcsByTurns_;
};

// ----------------------------------------------------------------- squares

/// Parallel cut lines of a square grid, found by their lattice position. A
/// line keeps its cuts as events: +1 where a cut begins, −1 after it ends,
/// sorted and merged when they outgrow the line (so never more than one per
/// piece); a piece's cut count is the sum of the events up to it.
class LineSet {
public:
    struct Event {
        Index at;
        std::int64_t delta;
    };
    struct Line {
        Index from = 0; // lattice index of its first end
        int count = 0;  // pitch-long pieces
        std::vector<Event> events;
        std::vector<std::int64_t> sums; // after finish: the count from each event on
        // Walking down the pieces (see countBelow).
        std::size_t cursor = 0;
        std::int64_t above = 0;
        Index end() const { return from + count; }
    };

    void add(Index position, Index from, int count)
    {
        Line line;
        line.from = from;
        line.count = std::max(count, 0);
        lines_.push_back(std::move(line));
        positions_.push_back(position);
    }

    /// Builds the lookup once every line is in.
    void index()
    {
        if (lines_.empty())
            return;
        const auto [lo, hi] = std::minmax_element(positions_.begin(), positions_.end());
        min_ = *lo;
        if (!inProportion(*hi - *lo + 1, lines_.size()))
            return; // lines far off the lattice: none is found
        lookup_.assign(static_cast<std::size_t>(*hi - *lo + 1), -1);
        for (std::size_t k = 0; k < lines_.size(); ++k) {
            auto& slot = lookup_[static_cast<std::size_t>(positions_[k] - min_)];
            if (slot < 0)
                slot = static_cast<std::int32_t>(k);
        }
    }

    Line* at(Index position)
    {
        const Index k = position - min_;
        if (k < 0 || k >= static_cast<Index>(lookup_.size()))
            return nullptr;
        const std::int32_t l = lookup_[static_cast<std::size_t>(k)];
        return l < 0 ? nullptr : &lines_[static_cast<std::size_t>(l)];
    }

    /// A cut of pieces [lo, hi) of `line`, lo < hi, within the line.
    static void cut(Line& line, Index lo, Index hi, std::int64_t times)
    {
        line.events.push_back({lo, times});
        line.events.push_back({hi, -times});
        if (line.events.size() > 2 * static_cast<std::size_t>(line.count) + 64)
            merge(line);
    }

    /// After the run: merges the events and adds every piece to `histogram`.
    void finish(Histogram& histogram)
    {
        for (Line& line : lines_) {
            merge(line);
            line.sums.clear();
            std::int64_t sum = 0;
            for (const Event& e : line.events)
                line.sums.push_back(sum += e.delta);
            line.cursor = line.events.size();
            std::int64_t running = 0;
            Index k = line.from;
            std::size_t e = 0;
            while (k < line.end()) {
                for (; e < line.events.size() && line.events[e].at <= k; ++e)
                    running += line.events[e].delta;
                const Index next = e < line.events.size() ? std::min(line.events[e].at, line.end()) : line.end();
                histogram.add(static_cast<std::uint64_t>(std::max<std::int64_t>(running, 0)), next - k);
                k = next;
            }
        }
    }

    /// Cut count of piece `k` of `line`, asked for pieces of falling `k` (a
    /// piece asked for twice in a row is fine).
    static std::uint64_t countBelow(Line* line, Index k)
    {
        if (!line || k < line->from || k >= line->end())
            return 0;
        // The count of piece k: minus the events above it (all events sum to 0).
        while (line->cursor > 0 && line->events[line->cursor - 1].at > k)
            line->above += line->events[--line->cursor].delta;
        return static_cast<std::uint64_t>(std::max<std::int64_t>(-line->above, 0));
    }

    /// Walks a line's pieces left to right.
    class Walk {
    public:
        explicit Walk(const Line* line) : line_(line) {}
        std::uint64_t count(Index k)
        {
            if (!line_ || k < line_->from || k >= line_->end())
                return 0;
            for (; next_ < line_->events.size() && line_->events[next_].at <= k; ++next_)
                running_ += line_->events[next_].delta;
            return static_cast<std::uint64_t>(std::max<std::int64_t>(running_, 0));
        }

    private:
        const Line* line_;
        std::size_t next_ = 0;
        std::int64_t running_ = 0;
    };

    /// The cut count of piece `k` of `line` (0 off it), once its events are merged.
    static std::uint64_t countAt(const Line* line, Index k)
    {
        if (!line || k < line->from || k >= line->end())
            return 0;
        const auto after = std::upper_bound(line->events.begin(), line->events.end(), k,
                                            [](Index v, const Event& e) { return v < e.at; });
        if (after == line->events.begin())
            return 0;
        const std::int64_t count = line->sums[static_cast<std::size_t>(after - line->events.begin()) - 1];
        return static_cast<std::uint64_t>(std::max<std::int64_t>(count, 0));
    }

    /// Calls f(k) for the pieces k in (lo, hi) where the count of `line` may
    /// differ from the piece before (its ends included), once merged.
    template <class F>
    static void changesIn(const Line* line, Index lo, Index hi, F&& f)
    {
        if (!line)
            return;
        for (const Index end : {line->from, line->end()})
            if (end > lo && end < hi)
                f(end);
        const auto first = std::upper_bound(line->events.begin(), line->events.end(), lo,
                                            [](Index v, const Event& e) { return v < e.at; });
        for (auto it = first; it != line->events.end() && it->at < hi; ++it)
            f(it->at);
    }

    std::size_t size() const { return lines_.size(); }
    Line& line(std::size_t k) { return lines_[k]; }
    Index position(std::size_t k) const { return positions_[k]; }
    Index lowest() const { return min_; }
    Index span() const { return static_cast<Index>(lookup_.size()); }
    /// Whether `k` is the line found at its position (the first of those that share one).
    bool found(std::size_t k) const
    {
        return !lookup_.empty() && lookup_[static_cast<std::size_t>(positions_[k] - min_)] == static_cast<std::int32_t>(k);
    }

    /// Starts every downward walk again from the top.
    void restartWalks()
    {
        for (Line& line : lines_) {
            line.cursor = line.events.size();
            line.above = 0;
        }
    }

private:
    static void merge(Line& line)
    {
        auto& events = line.events;
        std::sort(events.begin(), events.end(), [](const Event& a, const Event& b) { return a.at < b.at; });
        std::size_t out = 0;
        for (std::size_t i = 0; i < events.size();) {
            Event merged{events[i].at, 0};
            for (; i < events.size() && events[i].at == merged.at; ++i)
                merged.delta += events[i].delta;
            if (merged.delta != 0)
                events[out++] = merged;
        }
        events.resize(out);
    }

    std::vector<Line> lines_;
    std::vector<Index> positions_;
    std::vector<std::int32_t> lookup_; // by position − min_: index into lines_, −1 for none
    Index min_ = 0;
};

// Cuts of one piece that a line counts at most (a count far past any pass
// count, far from overflowing the sums of its events).
constexpr std::uint64_t kMostLineCuts = std::uint64_t(1) << 40;

// The grid's row lines and column lines on a lattice of pitches through the
// wafer centre; a die is a cell that the grid closes.
class SquareCuts {
public:
    SquareCuts(const WaferLayout& layout, CheckState& state)
        : state_(state), ax_(toDouble(layout.DiePitch)), ay_(toDouble(layout.RowPitch))
    {
        const Decimal cx = Decimal::fromSingle(CenterX), cy = Decimal::fromSingle(CenterY);
        double& deviation = state.report.latticeDeviation;
        const auto snap = [&deviation](const Axis& axis, double value) {
            Index index = 0;
            double d = 0;
            if (!axis.snap(value, index, d))
                d = std::numeric_limits<double>::infinity();
            deviation = std::max(deviation, d);
            return index;
        };
        for (int r = 1; r <= layout.RowTable.upperBound(); ++r) {
            const LayoutRow& row = layout.RowTable[r];
            rows_.add(snap(ay_, (cy - row.PosY.toDecimal()).toDouble()), snap(ax_, (row.PosX.toDecimal() - cx).toDouble()),
                      row.DieCount);
        }
        // A column runs down from its PosY.
        for (int c = 1; c <= layout.ColumnTable.upperBound(); ++c) {
            const LayoutRow& column = layout.ColumnTable[c];
            const Index top = snap(ay_, (cy - column.PosY.toDecimal()).toDouble());
            columns_.add(snap(ax_, (column.PosX.toDecimal() - cx).toDouble()), top - std::max<int>(column.DieCount, 0),
                         column.DieCount);
        }
        rows_.index();
        columns_.index();
        forEachDieRow(layout, [&](const DieRow& row) {
            if (row.count <= 0)
                return;
            CellRow cells;
            cells.row.count = row.count;
            cells.row.number = row.row;
            cells.row.x = row.x.toDouble();
            cells.row.y = row.y.toDouble();
            cells.left = snap(ax_, cells.row.x - ax_.step / 2);
            cells.bottom = snap(ay_, cells.row.y - ay_.step / 2);
            dies_ += row.count;
            cellRows_.push_back(cells);
        });
        if (!cellRows_.empty()) {
            const auto [lo, hi] = std::minmax_element(cellRows_.begin(), cellRows_.end(),
                                                      [](const auto& a, const auto& b) { return a.bottom < b.bottom; });
            bottomMin_ = lo->bottom;
            if (inProportion(hi->bottom - lo->bottom + 1, cellRows_.size()))
                cellRowAt_.assign(static_cast<std::size_t>(hi->bottom - lo->bottom + 1), -1);
            for (std::size_t k = 0; !cellRowAt_.empty() && k < cellRows_.size(); ++k)
                cellRowAt_[static_cast<std::size_t>(cellRows_[k].bottom - bottomMin_)] = static_cast<std::int32_t>(k);
        }
    }

    Index dies() const { return dies_; }
    double allowance() const { return 0; }
    /// Runs of cuts are matched copy by copy.
    bool cutRun(const Motion&, ProgramPoint, std::uint64_t, double) { return false; }

    void cut(const Motion& m)
    {
        if (m.kind != MotionKind::Straight)
            return state_.stray(m);
        state_.straight(m);
        Index x0 = 0, y0 = 0, x1 = 0, y1 = 0;
        double d[4] = {};
        if (!ax_.snap(m.from.x, x0, d[0]) || !ay_.snap(m.from.y, y0, d[1]) || !ax_.snap(m.to.x, x1, d[2]) ||
            !ay_.snap(m.to.y, y1, d[3]))
            return state_.stray(m);
        const double tol = state_.tolerance;
        const bool onRowLine = d[1] <= tol && d[3] <= tol && y0 == y1;
        const bool onColumnLine = d[0] <= tol && d[2] <= tol && x0 == x1;
        if (onRowLine && onColumnLine) { // a point on a lattice point
            if (!onGrid(x0, y0))
                return state_.stray(m);
            state_.matched(std::max({d[0], d[1], d[2], d[3]}));
            return;
        }
        if (onRowLine)
            return along(m, rows_.at(y0), m.from.x, m.to.x, ax_, std::max(d[1], d[3]));
        if (onColumnLine)
            return along(m, columns_.at(x0), m.from.y, m.to.y, ay_, std::max(d[0], d[2]));
        state_.stray(m); // on no line of the grid
    }

    int inferredPasses(PassSource&) const { return state_.repeatPasses(); }

    void finish(int passes, DieTally& tally)
    {
        CutReport& report = state_.report;
        Histogram histogram;
        rows_.finish(histogram);
        columns_.finish(histogram);
        report.elementsByCutCount = histogram.result();
        const std::uint64_t wanted = static_cast<std::uint64_t>(passes);
        // The reference check looks at every cell.
        ColumnCounts columnCounts(columns_, cellRows_, !state_.options.literal);
        Index lastBottom = std::numeric_limits<Index>::max();
        for (const CellRow& cells : cellRows_) {
            // The columns are walked downwards: rows from the top, as the layouts give them.
            if (cells.bottom >= lastBottom)
                columns_.restartWalks();
            lastBottom = cells.bottom;
            const DieGrid::Row& row = cells.row;
            if (columnCounts.follow(cells.bottom)) {
                // Stretches of cells whose four sides keep their counts.
                sweepRow(cells, columnCounts, wanted, tally);
                if (!tally.rowDone(row.count))
                    return;
                continue;
            }
            LineSet::Walk bottom(rows_.at(cells.bottom));
            LineSet::Walk top(rows_.at(cells.bottom + 1));
            const CellRow* above = cellRowAt(cells.bottom + 1);
            Index i = cells.left;
            LineSet::Line* left = columns_.at(i);
            for (int k = 0; k < row.count; ++k, ++i) {
                LineSet::Line* right = columns_.at(i + 1);
                // Left, top, right, bottom.
                const std::uint64_t side[4] = {LineSet::countBelow(left, cells.bottom), top.count(i),
                                               LineSet::countBelow(right, cells.bottom), bottom.count(i)};
                left = right;
                std::uint8_t uncut = 0;
                std::uint64_t fewest = side[0];
                for (int s = 0; s < 4; ++s) {
                    fewest = std::min(fewest, side[s]);
                    if (side[s] < wanted)
                        uncut |= static_cast<std::uint8_t>(1u << s);
                }
                // Each side once: left and bottom here, right and top only
                // when no cell lies beyond them.
                const bool cellRight = k + 1 < row.count;
                const bool cellAbove = above && i >= above->left && i < above->left + above->row.count;
                report.uncutEdges += (side[0] < wanted) + (side[3] < wanted) + (!cellRight && side[2] < wanted) +
                                     (!cellAbove && side[1] < wanted);
                tally.die(row, k, ax_.step, uncut, fewest, uncut == 0);
            }
            if (!tally.rowDone(row.count))
                return;
        }
    }

private:
    struct CellRow {
        DieGrid::Row row; // centre of the first cell, count, number
        Index left = 0;   // lattice column of the first cell's left side
        Index bottom = 0; // lattice row of the cells' bottom side
    };

    /// The columns' cut counts at the piece of a row of cells, followed
    /// downwards row by row: a column is looked at again only where its count
    /// changes, so the whole costs the columns' events. Keeps the positions
    /// where the count differs from the column's left neighbour.
    class ColumnCounts {
    public:
        ColumnCounts(LineSet& columns, const std::vector<CellRow>& cellRows, bool usable)
            : columns_(columns), usable_(usable)
        {
            // Only for cell rows from the top down, on an indexed set of columns.
            for (std::size_t k = 1; k < cellRows.size(); ++k)
                usable_ &= cellRows[k].bottom < cellRows[k - 1].bottom;
            usable_ &= columns.span() > 0;
            if (!usable_)
                return;
            counts_.assign(static_cast<std::size_t>(columns.span()), 0);
            for (std::size_t k = 0; k < columns.size(); ++k) {
                if (!columns.found(k))
                    continue;
                const LineSet::Line& line = columns.line(k);
                changes_.push_back({line.end(), k});
                changes_.push_back({line.from, k});
                for (const auto& event : line.events)
                    changes_.push_back({event.at, k});
            }
            std::sort(changes_.begin(), changes_.end(), [](const Change& a, const Change& b) { return a.below > b.below; });
        }

        /// Moves down to piece `bottom` (falling from call to call); false
        /// when the columns are not followed so.
        bool follow(Index bottom)
        {
            if (!usable_)
                return false;
            for (; next_ < changes_.size() && changes_[next_].below > bottom; ++next_) {
                const std::size_t k = changes_[next_].line;
                const auto at = static_cast<std::size_t>(columns_.position(k) - columns_.lowest());
                const std::uint64_t count = LineSet::countBelow(&columns_.line(k), bottom);
                if (count == counts_[at])
                    continue;
                counts_[at] = count;
                for (const std::size_t p : {at, at + 1}) {
                    if (p == 0 || p >= counts_.size())
                        continue;
                    if (counts_[p] != counts_[p - 1])
                        steps_.insert(static_cast<Index>(p));
                    else
                        steps_.erase(static_cast<Index>(p));
                }
            }
            return true;
        }

        /// The count of the column at `position`.
        std::uint64_t at(Index position) const
        {
            const Index p = position - columns_.lowest();
            return p < 0 || p >= static_cast<Index>(counts_.size()) ? 0 : counts_[static_cast<std::size_t>(p)];
        }

        /// Calls f(p) for the positions in (lo, hi] whose count differs from
        /// the column on their left (the ends of the columns included).
        template <class F>
        void stepsIn(Index lo, Index hi, F&& f) const
        {
            const Index base = columns_.lowest();
            const Index span = static_cast<Index>(counts_.size());
            // Past either end of the columns the count is 0.
            if (lo < base && hi >= base && counts_.front() != 0)
                f(base);
            if (lo < base + span && hi >= base + span && counts_.back() != 0)
                f(base + span);
            for (auto it = steps_.upper_bound(lo - base); it != steps_.end() && *it + base <= hi; ++it)
                f(*it + base);
        }

    private:
        struct Change {
            Index below; // the column's count may differ for pieces below this
            std::size_t line;
        };
        LineSet& columns_;
        std::vector<std::uint64_t> counts_; // by position − lowest
        std::set<Index> steps_;             // positions − lowest whose count differs from the one before
        std::vector<Change> changes_;
        std::size_t next_ = 0;
        bool usable_;
    };

    /// The cells of a row in stretches whose four sides keep their counts.
    void sweepRow(const CellRow& cells, const ColumnCounts& columns, std::uint64_t wanted, DieTally& tally)
    {
        CutReport& report = state_.report;
        const DieGrid::Row& row = cells.row;
        const Index l = cells.left;
        const Index n = row.count;
        const LineSet::Line* bottom = rows_.at(cells.bottom);
        const LineSet::Line* top = rows_.at(cells.bottom + 1);
        const CellRow* above = cellRowAt(cells.bottom + 1);
        breaks_.assign({0, n, n - 1});
        // A cell between two columns of different counts stands alone.
        columns.stepsIn(l, l + n, [&](Index p) {
            breaks_.push_back(p - l - 1);
            breaks_.push_back(p - l);
        });
        for (const LineSet::Line* line : {bottom, top})
            LineSet::changesIn(line, l, l + n, [&](Index at) { breaks_.push_back(at - l); });
        if (above) {
            breaks_.push_back(above->left - l);
            breaks_.push_back(above->left + above->row.count - l);
        }
        std::sort(breaks_.begin(), breaks_.end());
        breaks_.erase(std::unique(breaks_.begin(), breaks_.end()), breaks_.end());
        for (std::size_t b = 0; b + 1 < breaks_.size(); ++b) {
            const Index k0 = breaks_[b], k1 = breaks_[b + 1];
            if (k0 < 0 || k1 > n || k0 >= k1)
                continue;
            const Index i = l + k0;
            // Left, top, right, bottom.
            const std::uint64_t side[4] = {columns.at(i), LineSet::countAt(top, i), columns.at(i + 1),
                                           LineSet::countAt(bottom, i)};
            std::uint8_t uncut = 0;
            std::uint64_t fewest = side[0];
            for (int s = 0; s < 4; ++s) {
                fewest = std::min(fewest, side[s]);
                if (side[s] < wanted)
                    uncut |= static_cast<std::uint8_t>(1u << s);
            }
            // Each side once: left and bottom per cell, right and top only
            // where no cell lies beyond them.
            const Index len = k1 - k0;
            const bool cellAbove = above && i >= above->left && i < above->left + above->row.count;
            report.uncutEdges += len * ((side[0] < wanted) + (side[3] < wanted)) + (k1 == n && side[2] < wanted) +
                                 (!cellAbove && side[1] < wanted ? len : 0);
            tally.dies(row, static_cast<int>(k0), static_cast<int>(k1), ax_.step, uncut, fewest, uncut == 0);
        }
    }

    const CellRow* cellRowAt(Index bottom) const
    {
        const Index k = bottom - bottomMin_;
        if (k < 0 || k >= static_cast<Index>(cellRowAt_.size()))
            return nullptr;
        const std::int32_t r = cellRowAt_[static_cast<std::size_t>(k)];
        return r < 0 ? nullptr : &cellRows_[static_cast<std::size_t>(r)];
    }

    /// A lattice point on one of the grid's lines, ends included.
    bool onGrid(Index i, Index j)
    {
        const LineSet::Line* row = rows_.at(j);
        if (row && i >= row->from && i <= row->end())
            return true;
        const LineSet::Line* column = columns_.at(i);
        return column && j >= column->from && j <= column->end();
    }

    /// A cut along a line of the grid from `a` to `b` (inches along it):
    /// counts the pieces it covers whole; a cut past the line's ends, or on
    /// no line, is a stray one.
    void along(const Motion& m, LineSet::Line* line, double a, double b, const Axis& axis, double across)
    {
        if (a > b)
            std::swap(a, b);
        const double tol = state_.tolerance;
        if (!line || a < line->from * axis.step - tol || b > line->end() * axis.step + tol)
            return state_.stray(m);
        // Ends on the lattice count as its points; others leave their piece partly cut.
        Index lo = 0, hi = 0;
        double da = 0, db = 0;
        axis.snap(a, lo, da);
        axis.snap(b, hi, db);
        if (da > tol)
            lo = static_cast<Index>(std::ceil(a * axis.inverse));
        if (db > tol)
            hi = static_cast<Index>(std::floor(b * axis.inverse));
        lo = std::max(lo, line->from);
        hi = std::min(hi, line->end());
        state_.matched(std::max({across, da <= tol ? da : 0, db <= tol ? db : 0}));
        if (lo < hi)
            LineSet::cut(*line, lo, hi,
                         static_cast<std::int64_t>(std::min<std::uint64_t>(state_.times, kMostLineCuts)));
    }

    CheckState& state_;
    Axis ax_, ay_;
    LineSet rows_, columns_;
    std::vector<CellRow> cellRows_;
    std::vector<std::int32_t> cellRowAt_; // by bottom − bottomMin_
    Index bottomMin_ = 0;
    std::vector<Index> breaks_; // where a row's stretches of alike cells begin
    Index dies_ = 0;
};

// ------------------------------------------------------------------- run

/// Counts the motions run and asks the progress callback now and then.
class Progress {
public:
    Progress(CheckState& state, std::uint64_t total) : state_(state), total_(total) {}

    /// False when the check is cancelled.
    bool ran(std::uint64_t motions)
    {
        motions_ = motions > kSaturated - motions_ ? kSaturated : motions_ + motions;
        if (motions_ < next_ || !state_.options.progress)
            return true;
        next_ = motions_ > kSaturated - kProgressStride ? kSaturated : motions_ + kProgressStride;
        if (state_.options.progress(std::min(motions_, total_), total_))
            return true;
        state_.report.cancelled = true;
        return false;
    }

private:
    static constexpr std::uint64_t kSaturated = std::numeric_limits<std::uint64_t>::max();
    CheckState& state_;
    std::uint64_t total_;
    std::uint64_t motions_ = 0;
    std::uint64_t next_ = 0;
};

/// Matches one cutting motion: the circle and the shape's own check.
template <class Shape>
void matchCut(Shape& shape, CheckState& state, const Motion& m, double allowance)
{
    if (m.kind == MotionKind::Arc)
        state.arc(m, allowance);
    shape.cut(m); // straight cuts: the shape checks them against the circle
}

/// Feeds the cutting motions to a shape's check motion by motion: the
/// reference that the run by runs is compared with.
template <class Shape>
class LiteralCutVisitor final : public MotionVisitor {
public:
    LiteralCutVisitor(Shape& shape, CheckState& state, std::uint64_t totalWork)
        : shape_(shape), state_(state), allowance_(shape.allowance()), progress_(state, totalWork)
    {
    }

    bool onMotion(const Motion& m) override
    {
        state_.ordinal = motions_++;
        if (!progress_.ran(1))
            return false;
        if (!m.cutting)
            return true;
        if (m.retrace)
            ++state_.retracedCuts;
        matchCut(shape_, state_, m, allowance_);
        return state_.withinBounds();
    }

private:
    Shape& shape_;
    CheckState& state_;
    double allowance_;
    Progress progress_;
    std::uint64_t motions_ = 0;
};

/// Feeds the runs of cutting motions to a shape's check: copies that retrace
/// one path are matched once for all of them, the others copy by copy.
template <class Shape>
class CutRunVisitor final : public RunVisitor {
public:
    CutRunVisitor(Shape& shape, CheckState& state, std::uint64_t totalWork)
        : shape_(shape), state_(state), allowance_(shape.allowance()), progress_(state, totalWork)
    {
    }

    bool onRun(const MotionRun& run) override
    {
        const std::uint64_t total = run.copies();
        if (!progress_.ran(total))
            return false;
        if (!run.first.cutting)
            return true;
        std::uint64_t times = 1;
        std::uint64_t distinct = 1;
        std::array<std::size_t, kMaxRunLevels> moving{};
        std::array<std::size_t, kMaxRunLevels> retracing{};
        std::size_t levels = 0;
        std::size_t retracingLevels = 0;
        for (std::size_t k = 0; k < run.depth; ++k) {
            const RunLevel& level = run.levels[k];
            if (level.count <= 1)
                continue;
            if (level.step == ProgramPoint{}) {
                times = saturatedProduct(times, level.count);
                retracing[retracingLevels++] = k;
            } else {
                distinct = saturatedProduct(distinct, level.count);
                moving[levels++] = k;
            }
        }
        retraceOffsets(run, retracing.data(), retracingLevels);
        state_.retracedCuts += run.first.retrace ? total : total - distinct;
        // The innermost level that moves is matched whole where the shape
        // can (a row of equal cuts), else copy by copy.
        const std::uint64_t inner = levels > 0 ? run.levels[moving[0]].count : 1;
        if (!state_.work(distinct / inner))
            return false;
        state_.times = times;
        // Copy by copy over the levels that move, the innermost fastest.
        std::array<std::uint64_t, kMaxRunLevels> index{};
        Motion m = run.first;
        for (;;) {
            state_.ordinal = run.ordinal;
            for (std::size_t l = 0; l < levels; ++l)
                state_.ordinal += index[moving[l]] * run.levels[moving[l]].motions;
            if (levels > 0 && index[moving[0]] == 0) {
                if (shape_.cutRun(m, run.levels[moving[0]].step, inner, allowance_))
                    index[moving[0]] = inner - 1; // on to the next copy of the outer levels
                else if (state_.work(inner - 1))
                    matchCut(shape_, state_, m, allowance_);
            } else {
                matchCut(shape_, state_, m, allowance_);
            }
            if (!state_.withinBounds())
                break;
            std::size_t l = 0;
            for (; l < levels; ++l) {
                if (++index[moving[l]] < run.levels[moving[l]].count)
                    break;
                index[moving[l]] = 0;
            }
            if (l == levels)
                break;
            const ProgramPoint d = run.offsetOf(index.data());
            m.from = {run.first.from.x + d.x, run.first.from.y + d.y};
            m.to = {run.first.to.x + d.x, run.first.to.y + d.y};
            if (m.kind == MotionKind::Arc)
                m.centre = {run.first.centre.x + d.x, run.first.centre.y + d.y};
        }
        state_.times = 1;
        state_.retraceOffsets.assign(1, 0);
        return state_.withinBounds();
    }

private:
    /// The places after a copy of its retracing copies, in the machine's
    /// order, as many as a list of flagged cuts may hold.
    void retraceOffsets(const MotionRun& run, const std::size_t* levels, std::size_t count)
    {
        auto& offsets = state_.retraceOffsets;
        offsets.assign(1, 0);
        if (count == 0)
            return;
        std::array<std::uint64_t, kMaxRunLevels> index{};
        while (offsets.size() < std::max<std::size_t>(state_.options.listLimit, 1)) {
            std::size_t l = 0;
            for (; l < count; ++l) {
                if (++index[l] < run.levels[levels[l]].count)
                    break;
                index[l] = 0;
            }
            if (l == count)
                return;
            std::uint64_t offset = 0;
            for (std::size_t k = 0; k < count; ++k)
                offset += index[k] * run.levels[levels[k]].motions;
            offsets.push_back(offset);
        }
    }

    static std::uint64_t saturatedProduct(std::uint64_t a, std::uint64_t b)
    {
        return b != 0 && a > std::numeric_limits<std::uint64_t>::max() / b ? std::numeric_limits<std::uint64_t>::max()
                                                                          : a * b;
    }

    Shape& shape_;
    CheckState& state_;
    double allowance_;
    Progress progress_;
};

template <class Shape>
void check(const Program& program, const WaferLayout& layout, CheckState& state)
{
    CutReport& report = state.report;
    Shape shape(layout, state);
    report.dies = shape.dies();
    const std::uint64_t total = program.expandedMotions() + static_cast<std::uint64_t>(report.dies);
    RunSummary run;
    if (state.options.literal) {
        LiteralCutVisitor<Shape> visitor(shape, state, total);
        run = runProgram(program, visitor);
    } else {
        CutRunVisitor<Shape> visitor(shape, state, total);
        run = runProgramRuns(program, visitor);
    }
    if (run.beyondBounds || !state.withinBounds())
        report.unchecked = Unchecked::TooLarge;
    report.motions = run.motions;
    report.cuttingMotions = run.cuttingMotions;
    state.cuttingMotions = run.cuttingMotions;
    report.cuts = run.cuts;
    report.cutLength = run.cutLength;
    report.travelLength = run.travelLength;
    if (run.machineTimeKnown)
        report.machineSeconds = run.machineSeconds;
    report.end = run.final.head;
    report.laserOff = !run.final.laserOn;
    report.cutOpen = run.final.cutting;
    report.arcOvershoot = state.overshoot();
    state.listFlagged();
    if (report.cancelled || report.unchecked != Unchecked::No)
        return;
    if (state.options.passes) {
        report.passes = std::max(*state.options.passes, 1);
        report.passSource = PassSource::Given;
    } else {
        report.passSource = PassSource::RepeatCount;
        report.passes = std::max(shape.inferredPasses(report.passSource), 1);
    }
    DieTally tally(state, run.motions, total);
    shape.finish(report.passes, tally);
}

} // namespace

CutReport checkCuts(const Program& program, const WaferLayout& layout, const CutCheckOptions& options)
{
    CutReport report;
    report.shape = layout.shape;
    try {
        CheckState state(report, options, layout.EffectiveRadius);
        switch (layout.shape) {
        case DieShape::Circle: check<CircleCuts>(program, layout, state); break;
        case DieShape::Hexagon: check<HexagonCuts>(program, layout, state); break;
        case DieShape::Square: check<SquareCuts>(program, layout, state); break;
        }
    } catch (const std::bad_alloc&) {
        // What the check holds is freed on the way out; the figures say nothing.
        report = CutReport{};
        report.shape = layout.shape;
        report.unchecked = Unchecked::OutOfMemory;
    }
    return report;
}

std::variant<CutReport, ProgramError> checkProgramText(std::string_view text, const WaferLayout& layout,
                                                       const CutCheckOptions& options)
{
    auto parsed = parseProgram(text);
    if (auto* error = std::get_if<ProgramError>(&parsed))
        return std::move(*error);
    return checkCuts(std::get<Program>(parsed), layout, options);
}

const char* uncheckedText(Unchecked reason)
{
    switch (reason) {
    case Unchecked::No: return "";
    case Unchecked::TooLarge: return "程式展開後太大，無法檢查。";
    case Unchecked::OutOfMemory: return "記憶體不足，無法檢查。";
    }
    return "";
}

const char* machineTimeAssumption()
{
    return "假設每段移動皆由靜止加速再減速至靜止（梯形速度曲線）：直線以 SP DVL 速度、SP DAC 加速度，"
           "圓弧以其 VEL、ACC，單位英吋與秒，另加 WT 等待時間。";
}

const char* passSourceText(PassSource source)
{
    switch (source) {
    case PassSource::Given: return "given";
    case PassSource::Arcs: return "arcs";
    case PassSource::RepeatCount: return "repeat count";
    }
    return "";
}

} // namespace kerf
