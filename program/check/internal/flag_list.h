// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "program/check/report/cut_report.h"

namespace kerf::cutcheck {

/// The first flagged cuts in the machine's order, whatever order the check
/// finds them in (a run's copies come after one another, runs interleave).
class FlagList {
public:
    explicit FlagList(std::size_t limit) : limit_(limit) {}

    /// Keeps the cut at place `ordinal` of the machine's order if it is among
    /// the first. False when the list is full of cuts made before this one
    /// (and so before every later copy of its run).
    bool add(std::uint64_t ordinal, const FlaggedCut& cut);

    /// The cuts kept, in the machine's order.
    std::vector<FlaggedCut> inOrder() const;

private:
    struct Entry {
        std::uint64_t ordinal;
        FlaggedCut cut;
    };
    std::size_t limit_;
    std::vector<Entry> heap_; // the latest on top
};

} // namespace kerf::cutcheck
