// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <ostream>

#include "layout/wafer_layout.h"
#include "program/writer/program_parameters.h"

namespace kerf {

// The programs of a wafer with flats. Its rows are no longer centred on the
// wafer, so each row (and each square line) is reached by an absolute move to
// its own start; the units, the header and the passes are those of the round
// wafer's programs. Every cut lies on an edge of a kept die, so none passes a
// keep-out line.

/// Round dies: each row cut with CIR1 from its left end or CIR2 from its right.
void WriteFlattedCircleProgram(std::ostream& out, const WaferLayout& layout, const ProgramParameters& parameters);
/// Square grid: each row line, then each column line, end to end.
void WriteFlattedSquareProgram(std::ostream& out, const WaferLayout& layout, const ProgramParameters& parameters);
/// Hexagons, each edge once: rows alternately HEX1 rightwards and HEX2
/// leftwards, then the lower edges of the dies that the row below does not
/// close (HEX4, HEX3).
void WriteFlattedHexagonProgramOneWay(std::ostream& out, const WaferLayout& layout,
                                      const ProgramParameters& parameters);
/// Hexagons, each edge twice: every row and every lower edge there and back.
void WriteFlattedHexagonProgramTwoWay(std::ostream& out, const WaferLayout& layout,
                                      const ProgramParameters& parameters);

} // namespace kerf
