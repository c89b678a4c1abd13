// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <map>

#include "program/check/internal/check_state.h"
#include "program/check/internal/die_grid.h"
#include "program/check/report/die_counts.h"

namespace kerf::cutcheck {

/// The uncut list and the totals of dies, filled die by die in row order,
/// and the progress over the dies. A survey only counts the dies by their
/// fewest cuts, which the pass count is inferred from.
class DieTally {
public:
    /// `workBefore` of `totalWork` is done when the dies are looked at.
    DieTally(CheckState& state, std::uint64_t workBefore, std::uint64_t totalWork)
        : state_(state), done_(workBefore), total_(totalWork)
    {
    }

    /// A survey: touches nothing of the report.
    explicit DieTally(CheckState& state) : state_(state), done_(0), total_(0), survey_(true) {}

    /// A survey's dies by their fewest cuts.
    const std::map<std::uint64_t, std::int64_t>& diesByCuts() const { return diesByCuts_; }

    /// Die `j` of `row`, dies `pitch` apart: its edges cut too few times
    /// (bit k for edge k) and its fewest cuts.
    void die(const DieGrid::Row& row, int j, double pitch, std::uint8_t uncutEdges, std::uint64_t cuts, bool fullyCut)
    {
        if (survey_) {
            ++diesByCuts_[cuts];
            return;
        }
        count(row, j, j + 1, pitch, cuts);
        if (fullyCut)
            ++state_.report.diesFullyCut;
        else
            listUncut(row, j, pitch, uncutEdges, cuts);
    }

    /// Dies [from, to) of a row, all alike: listed one by one only while the
    /// list has room.
    void dies(const DieGrid::Row& row, int from, int to, double pitch, std::uint8_t uncutEdges, std::uint64_t cuts,
              bool fullyCut);

    /// After each row of `count` dies: false when the check is cancelled.
    bool rowDone(int count);

private:
    void count(const DieGrid::Row& row, int from, int to, double pitch, std::uint64_t cuts)
    {
        if (state_.options.dieCounts)
            state_.options.dieCounts->add(row.number, row.count, row.x, row.y, pitch, from, to, cuts);
    }
    void listUncut(const DieGrid::Row& row, int j, double pitch, std::uint8_t uncutEdges, std::uint64_t cuts);

    CheckState& state_;
    std::uint64_t done_;
    std::uint64_t total_;
    std::uint64_t next_ = 0;
    bool survey_ = false;
    std::map<std::uint64_t, std::int64_t> diesByCuts_;
};

} // namespace kerf::cutcheck
