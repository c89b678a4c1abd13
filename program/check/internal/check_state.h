// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

#include "layout/wafer_flats.h"
#include "program/check/report/cut_report.h"
#include "program/check/internal/flag_list.h"
#include "program/check/internal/work_bound.h"

namespace kerf::cutcheck {

/// What every shape's check shares: the report, the options, the effective
/// circle and the keep-out lines of the wafer's flats (a cut past one is a
/// cut outside too), the bound of work and the flagged cuts.
class CheckState {
public:
    CheckState(CutReport& report, const CutCheckOptions& options, double radius,
               std::vector<KeepOutLine> keepOut = {});

    CutReport& report;
    const CutCheckOptions& options;
    const double tolerance; // NaN and negatives: 0
    const double radius;

    /// Counts `units` of matching work (copies matched, lattice steps walked):
    /// false once the whole goes past the bound.
    bool work(std::uint64_t units) { return work_.add(units); }
    bool withinBounds() const { return work_.within(); }
    /// Puts the check past its bounds (kept parts of cuts too many).
    void beyondBounds() { work_.add(MostWork + 1); }

    /// How many equal copies the motion being matched stands for: copies
    /// that retrace one path are matched once and counted this many times.
    std::uint64_t times = 1;
    /// The place of the motion being matched in the machine's order, and of
    /// the first of its retracing copies after it (at most a list's length).
    std::uint64_t ordinal = 0;
    std::vector<std::uint64_t> retraceOffsets{0};

    /// Puts the flagged cuts in the report, in the machine's order.
    void listFlagged();

    /// Flags the motion being matched as a cut on no die edge.
    void stray(const Motion& m) { flag(report.strayCuts, stray_, m); }
    /// Flags a line of several moves run with the laser on: its path is not known.
    void uncertain(const Motion& m) { flag(report.uncertainPaths, uncertain_, m); }
    /// Notes how far a matched cut end lies from its lattice point, inches.
    void matched(double deviation)
    {
        if (deviation > report.worstDeviation) // rarely: no chain of maxima through memory
            report.worstDeviation = deviation;
    }
    bool inside(const ProgramPoint& p) const { return p.x * p.x + p.y * p.y <= limitSquared_ && behindLines(p); }
    /// Whether a point lies behind every keep-out line (within the tolerance).
    bool behindLines(const ProgramPoint& p) const
    {
        for (const KeepOutLine& l : keepOut_)
            if (!(p.x * l.nx + p.y * l.ny <= l.k + tolerance))
                return false;
        return true;
    }

    /// Flags a straight cut with an end outside the effective circle.
    void straight(const Motion& m)
    {
        if (!inside(m.from) || !inside(m.to))
            flag(report.outsideCuts, outside_, m);
    }

    /// A cutting motion of no length (within the tolerance) cuts nothing: it
    /// is never counted and never flagged.
    bool point(const Motion& m) const
    {
        if (m.kind == MotionKind::Arc)
            return m.length() <= tolerance;
        const double dx = m.to.x - m.from.x, dy = m.to.y - m.from.y;
        return dx * dx + dy * dy <= tolerance * tolerance;
    }

    /// Counts `n` cutting motions of no length; the count stops rather than wraps.
    void countPointCuts(std::uint64_t n)
    {
        report.pointCuts += std::min(n, std::numeric_limits<std::uint64_t>::max() - report.pointCuts);
    }

    /// Flags an arc that reaches past the effective circle by more than `allowance`.
    void arc(const Motion& m, double allowance);

    /// Whether two arcs reach past the effective circle by no more than
    /// `allowance`; if so, they count for the farthest reach.
    bool arcsWithin(const Motion& a, const Motion& b, double allowance);

    /// The farthest arc reach past the effective circle, 0 without arcs.
    double overshoot() const { return overshoot_ == -std::numeric_limits<double>::infinity() ? 0 : overshoot_; }

private:
    void flag(std::int64_t& total, FlagList& list, const Motion& m);

    /// Whether an arc stays within every keep-out line by `allowance`.
    bool arcBehindLines(const Motion& m, double allowance) const;

    std::vector<KeepOutLine> keepOut_;
    double limitSquared_ = 0;
    double overshoot_ = -std::numeric_limits<double>::infinity();
    WorkBound work_;
    FlagList outside_, stray_, uncertain_;
};

} // namespace kerf::cutcheck
