// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <ostream>

#include "layout/wafer_layout.h"

namespace kerf {

/// The dies of a layout as CSV for probers and inspection tools: a header line
/// "row,die,x,y", then one line per die (row from the top, die from the left,
/// centre in inches from the wafer centre with Y up).
void writeDieCsv(std::ostream& out, const WaferLayout& layout);

} // namespace kerf
