// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

#include "layout/die_size_sweep.h"
#include "yield/good_dies.h"

namespace kerf {

/// The good dies of a sweep point; none for a refused size.
std::optional<GoodDies> pointGoodDies(const SweepPoint& point, const YieldSettings& settings);

/// The sweep CSV's yield columns: good_dies, yield_percent (full precision),
/// and cost_per_good_die when a cost is given; empty for a refused size and
/// for the cost of a wafer without a good die.
SweepCsvColumns yieldCsvColumns(const YieldSettings& settings);

} // namespace kerf
