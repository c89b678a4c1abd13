// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <vector>

namespace kerf {

/// What a check counts of every die, by rows as runs of equal counts: a
/// round die's whole turns, a hexagon's or a square's fewest cuts of any
/// edge. Filled when CutCheckOptions::dieCounts points at it; it grows with
/// the changes of count along the rows, never with the dies.
class DieCounts {
public:
    /// Dies [from, end) of a row cut `cuts` times.
    struct Run {
        int end = 0;
        std::uint64_t cuts = 0;
    };
    /// A row of dies `pitch` apart, numbered as the check's report does.
    struct Row {
        int number = 0; // from the top, 1-based
        int count = 0;
        double x = 0; // centre of the leftmost die
        double y = 0;
        double pitch = 0;
        std::vector<Run> runs; // in order, the last ending at count
    };

    /// Dies [from, to) of a row, given in row order and left to right; a new
    /// row begins when `number` changes.
    void add(int number, int count, double x, double y, double pitch, int from, int to, std::uint64_t cuts);

    const std::vector<Row>& rows() const { return rows_; }

private:
    std::vector<Row> rows_;
};

} // namespace kerf
