// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include "layout/wafer_layout.h"

namespace kerf {

/// The records of a layout table in the order they are cut: K, K−1, …, 1,
/// then K+1, …, N, with K the table's half. For rows this is top
/// to bottom; for square columns from one side to the other. Throws
/// std::invalid_argument for a table without records: it has nothing to cut.
std::vector<int> cuttingOrder(const LayoutTable& table);

} // namespace kerf
