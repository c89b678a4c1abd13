// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

#include "layout/die_size_sweep.h"
#include "yield/good_dies.h"

namespace kerf {

/// The good dies of a sweep point; none for a refused size.
std::optional<GoodDies> pointGoodDies(const SweepPoint& point, const YieldSettings& settings);

/// The index of the point of `shape` with the most good dies (the smallest
/// such size on a tie); none when no size of it was laid out.
std::optional<std::size_t> mostGoodDiesPoint(const std::vector<SweepPoint>& points, const std::string& shape,
                                             const YieldSettings& settings);

/// The sweep CSV's yield columns: good_dies, yield_percent (full precision),
/// and cost_per_good_die when a cost is given; empty for a refused size and
/// for the cost of a wafer without a good die.
SweepCsvColumns yieldCsvColumns(const YieldSettings& settings);

} // namespace kerf
