// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
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
        std::size_t firstRun = 0; // its runs: from here to the next row's first
    };

    /// Room for `rows` rows.
    void reserve(std::size_t rows) { rows_.reserve(rows); }

    /// Dies [from, to) of a row, given in row order and left to right; a new
    /// row begins when `number` changes.
    void add(int number, int count, double x, double y, double pitch, int from, int to, std::uint64_t cuts)
    {
        if (to <= from)
            return;
        if (rows_.empty() || rows_.back().number != number)
            rows_.push_back({number, count, x, y, pitch, runs_.size()});
        else if (runs_.back().end == from && runs_.back().cuts == cuts) {
            runs_.back().end = to;
            return;
        }
        runs_.push_back({to, cuts});
    }

    const std::vector<Row>& rows() const { return rows_; }
    /// The runs of row `k`, in order, the last ending at its count.
    std::span<const Run> runs(std::size_t k) const
    {
        const std::size_t end = k + 1 < rows_.size() ? rows_[k + 1].firstRun : runs_.size();
        return std::span(runs_).subspan(rows_[k].firstRun, end - rows_[k].firstRun);
    }

private:
    std::vector<Row> rows_;
    std::vector<Run> runs_;
};

} // namespace kerf
