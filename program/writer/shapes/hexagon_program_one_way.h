// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <ostream>

#include "program/writer/program_parameters.h"
#include "layout/wafer_layout.h"

namespace kerf {

/// The whole program for a layout of hexagons, for an odd pass count: the
/// units HEX1 to HEX4, then the main unit that cuts each row once, odd rows
/// left to right and even rows right to left, each end's uncovered lower
/// edges on the way, the move to the next row from WriteHexagonRowMove, and
/// the bottom row's lower edges last. Throws std::invalid_argument when
/// RowTable holds no record.
void WriteHexagonProgramOneWay(std::ostream& out, const WaferLayout& layout, const ProgramParameters& parameters);

} // namespace kerf
