// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include "layout/die_layouts.h"
#include "layout/wafer_layout.h"
#include "numbers/decimal.h"

namespace kerf {

/// How one of the line-by-line layouts walks. Every layout probes lines of
/// positions from the wafer centre outwards: along a line it steps away from
/// the centre in the negative picture direction of `along`; successive lines of
/// the first half lie one `acrossPitch` further in `acrossDirection`; the
/// second half mirrors the first on the other side of the centre line.
struct LineLayoutRules {
    enum class Axis { X, Y };
    Axis along = Axis::X;
    Decimal alongPitch;
    Decimal acrossPitch;
    int acrossDirection = -1; // picture direction of the lines of the first half
    Decimal oddLineShift;     // after each odd line the next one starts this much further along
    bool cutLines = false;    // count pitches between end points (2(n−1)) instead of dies
    double reach = 0;         // how far from the centre a die may stand, for the search
    std::function<bool(float distance)> isOutside;
    std::function<void(LayoutRow&)> setRelative; // RelX, RelY from PosX, PosY
};

/// Fills `table` with records 1..2K−1 by the rules; counters stay within 16 bits.
LayoutFailure layOutLines(const LineLayoutRules& rules, LayoutTable& table);

/// What layOutLines would store, counted only: the records and the sum of
/// their DieCounts, and the first record's count.
struct LineCounts {
    int records = 0;
    long long dies = 0;
    long long firstCount = 0;
};

/// The same walk and the same failures as layOutLines, without the table:
/// no decimal positions per line, so that a sweep of many sizes costs a
/// few probes per line.
LayoutFailure countLines(const LineLayoutRules& rules, LineCounts& counts);

} // namespace kerf
