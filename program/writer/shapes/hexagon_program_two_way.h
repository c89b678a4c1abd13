// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <ostream>

#include "program/writer/program_parameters.h"
#include "layout/wafer_layout.h"

namespace kerf {

/// The whole program for a layout of hexagons, for an even pass count: the
/// units HEX1 to HEX4, then the main unit that cuts every row's upper
/// outlines out and back, the lower edges left uncovered by a shorter next
/// row at both ends, and the bottom row's lower edges last. The head ends
/// every row where it began it. Throws std::invalid_argument when RowTable
/// holds no record.
void WriteHexagonProgramTwoWay(std::ostream& out, const WaferLayout& layout, const ProgramParameters& parameters);

} // namespace kerf
