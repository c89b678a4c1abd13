// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <ostream>
#include <string_view>

#include "layout/layout_results.h"
#include "layout/wafer_layout.h"
#include "layout/simulation/simulation.h"

namespace kerf::cli {

// One JSON object per layout: the shape, the pitches, both tables with records
// 1..N in index order and the result boxes' texts. Every number is the text its
// kind gives in the cutting program, as a JSON string; an unset value is null.

/// `extraMembers`, where given, are further members written last («"bins": {…}»).
void writeLayoutJson(std::ostream& out, const WaferLayout& layout, const LayoutResults& results,
                     std::string_view extraMembers = {});
void writeSimulationJson(std::ostream& out, const SimulationLayout& layout, const LayoutResults& results);
/// Inputs accepted but no shape chosen: only the wafer outline would be drawn.
void writeOutlineOnlyJson(std::ostream& out);

} // namespace kerf::cli
