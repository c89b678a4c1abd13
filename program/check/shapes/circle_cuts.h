// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

#include "layout/wafer_layout.h"
#include "program/check/internal/check_state.h"
#include "program/check/internal/die_grid.h"
#include "program/check/internal/die_tally.h"
#include "program/check/internal/lattice.h"
#include "program/check/internal/part_cuts.h"
#include "program/check/internal/range_counts.h"

namespace kerf::cutcheck {

/// The check of a round-die layout's cuts (a ShapeCheck).
///
/// Die centres on a lattice of half pitches across and row pitches up (the
/// rows alternate by half a pitch). The turns cut about the dies are counted
/// per row (RangeCounts): a row of equal arcs costs O(1), whatever its dies.
/// Arcs that cut part of a turn are kept apart and add up once the run is over.
class CircleCuts {
public:
    CircleCuts(const WaferLayout& layout, CheckState& state);

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
        const std::optional<ArcOnDie> arc = aboutDie(m);
        if (!arc)
            return state_.stray(m);
        state_.matched(arc->deviation);
        if (arc->turns > 0)
            count(*arc->row, arc->die, arc->die + 1, arc->turns);
        if (arc->rest > 0)
            part(m, *arc);
    }

    /// `copies` copies of the arc `first`, each `step` further on: true when
    /// they all fall on dies of one row and inside the circle, and are
    /// counted so at once; false leaves them to be matched one by one.
    bool cutRun(const Motion& first, ProgramPoint step, std::uint64_t copies);

    void finish(int passes, DieTally& tally);

private:
    /// A die's count of whole turns stops here; a die cut so often counts
    /// as fully cut whatever the pass count.
    static constexpr std::uint64_t MostTurns = 65535;
    /// Copies of one arc that one run may count at once: far past any row.
    static constexpr std::uint64_t MostRunCopies = std::uint64_t(1) << 40;
    /// How far an arc's sweep may lie from whole turns, in turns: the
    /// programs' sweeps are whole multiples of 360 degrees, read exactly.
    static constexpr double TurnTolerance = 1e-9;

    /// A round die's cut: turns of the die's radius about its centre, whole
    /// and a part of one.
    struct ArcOnDie {
        std::uint64_t turns = 0;
        double rest = 0; // the part of a turn past the whole ones
        const DieGrid::Row* row = nullptr;
        Index die = 0;        // in its row, from 0
        double deviation = 0; // how far the arc's centre lies from its lattice point, inches
    };

    /// Whether an arc is a round die's cut: an arc of the die's radius about
    /// a die centre (shifted by the fine-tune).
    std::optional<ArcOnDie> aboutDie(const Motion& m) const
    {
        const double t = std::abs(m.sweepDegrees) / 360.0;
        const double whole = std::floor(t + TurnTolerance);
        const double rest = t - whole > TurnTolerance ? t - whole : 0;
        if ((whole < 1 && rest == 0) || std::abs(m.radius() - radius_) > state_.tolerance)
            return std::nullopt;
        const LatticeSnap sx = ax_.snap(m.centre.x + shift_), sy = ay_.snap(m.centre.y);
        if (!sx.valid || !sy.valid)
            return std::nullopt;
        const double deviation = std::max(ax_.inches(sx), ay_.inches(sy));
        if (deviation > state_.tolerance || grid_.find(sx.index, sy.index) < 0)
            return std::nullopt;
        const DieGrid::Row* row = grid_.rowAt(sy.index);
        return ArcOnDie{whole > MostTurns ? MostTurns : static_cast<std::uint64_t>(whole), rest, row,
                        (sx.index - row->ix) / 2, deviation};
    }

    /// Dies [from, to) of `row` cut `turns` whole turns each.
    void count(const DieGrid::Row& row, Index from, Index to, std::uint64_t turns)
    {
        const std::uint64_t times = std::min<std::uint64_t>(state_.times, MostTurns);
        const auto k = static_cast<std::size_t>(&row - grid_.rows().data());
        turns_[k].add(from, to, static_cast<std::int64_t>(turns * times), row.count);
    }

    /// Keeps the part of a turn that an arc cuts past its whole turns.
    void part(const Motion& m, const ArcOnDie& arc);

    /// Adds the parts of turns to the dies' counts, once.
    void settleParts();

    CheckState& state_;
    double shift_;  // the half fine-tune that the arcs' centres lie left of the dies' centres
    double radius_; // the arcs' radius: half the die size
    LatticeAxis ax_, ay_;
    DieGrid grid_;
    std::vector<RangeCounts> turns_; // whole turns per row of dies
    PartCuts parts_;                 // parts of turns, by row and die
    bool partsSettled_ = false;
};

} // namespace kerf::cutcheck
