#pragma once

#include <cstdint>

#include "program/check/check_state.h"
#include "program/check/die_grid.h"

namespace kerf::cutcheck {

/// The uncut list and the totals of dies, filled die by die in row order,
/// and the progress over the dies.
class DieTally {
public:
    /// `workBefore` of `totalWork` is done when the dies are looked at.
    DieTally(CheckState& state, std::uint64_t workBefore, std::uint64_t totalWork)
        : state_(state), done_(workBefore), total_(totalWork)
    {
    }

    /// Die `j` of `row`, dies `pitch` apart: its edges cut too few times
    /// (bit k for edge k) and its fewest cuts.
    void die(const DieGrid::Row& row, int j, double pitch, std::uint8_t uncutEdges, std::uint64_t cuts, bool fullyCut)
    {
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
    void listUncut(const DieGrid::Row& row, int j, double pitch, std::uint8_t uncutEdges, std::uint64_t cuts);

    CheckState& state_;
    std::uint64_t done_;
    std::uint64_t total_;
    std::uint64_t next_ = 0;
};

} // namespace kerf::cutcheck
