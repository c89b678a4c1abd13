// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "layout/wafer_layout.h"
#include "program/check/report/cut_report.h"
#include "program/reader/program_reader.h"

namespace kerf {

// Two cutting programs compared by what they cut of one layout: each is
// checked, and the dies whose counts differ (a round die's whole turns, a
// hexagon's or a square's fewest cuts of an edge) are found by comparing the
// two checks' rows of equal counts, never die by die. The flagged cuts (stray,
// outside) are matched by where they lie, not by their lines. A program and
// the same program with its repeats unrolled, its units inlined, its moves
// split or its lines spaced otherwise are the same.

struct ComparisonOptions {
    /// How far a cut end may lie from its lattice point, inches (as the check's).
    double tolerance = 5e-5;
    /// How many differing dies and flagged cuts the comparison lists; the totals count all.
    std::size_t listLimit = 50;
    /// How many flagged cuts of each program are matched against the other's.
    std::size_t flaggedMatched = 10000;
    /// Called now and then from either check with the work both have done and
    /// their whole work; returning false cancels the comparison.
    std::function<bool(std::uint64_t done, std::uint64_t total)> progress;
};

/// Dies [from, to) of a row that the two programs cut differently, all alike.
struct DifferingStretch {
    int row = 0; // from the top, 1-based
    int from = 0; // 0-based, from the left
    int to = 0;
    double x = 0; // centre of the die `from`
    double y = 0;
    double pitch = 0;
    std::uint64_t a = 0; // the counts in A and in B
    std::uint64_t b = 0;
};

/// One die that the two programs cut differently.
struct DifferingDie {
    int row = 0; // 1-based, as the check's report numbers them
    int die = 0;
    ProgramPoint centre;
    std::uint64_t a = 0;
    std::uint64_t b = 0;
};

/// The flagged cuts of one program that the other lacks: the first of them
/// listed, all counted.
struct UnmatchedCuts {
    std::vector<FlaggedCut> listed;
    std::int64_t count = 0;
};

struct ProgramComparison {
    CutReport a; // each program's check
    CutReport b;
    /// The differing dies, by rows as stretches of equal counts, in row order.
    std::vector<DifferingStretch> stretches;
    std::int64_t differingDies = 0;
    std::int64_t cutLessInB = 0;
    std::int64_t cutMoreInB = 0;
    UnmatchedCuts strayOnlyA, strayOnlyB, outsideOnlyA, outsideOnlyB;

    /// Both checks ran to their end.
    bool checked() const;
    /// Every die cut alike and no flagged cut in one program only.
    bool same() const;
    /// The machine times' difference, B less A; none when either has none.
    std::optional<double> machineSecondsDifference() const;
};

/// The first `limit` differing dies, in row order, from the stretches.
std::vector<DifferingDie> differingDies(const ProgramComparison& comparison, std::size_t limit);

/// Checks `a` and `b` against `layout` (side by side, on two threads) and
/// compares them. Never fails: when either check could not be carried out
/// or was cancelled, checked() is false and the reports say why.
ProgramComparison comparePrograms(const Program& a, const Program& b, const WaferLayout& layout,
                                  const ComparisonOptions& options = {});

} // namespace kerf
