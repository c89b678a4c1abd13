// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <ostream>

#include "program/writer/program_parameters.h"
#include "layout/wafer_layout.h"

namespace kerf {

/// The whole program for a layout of round dies: the subroutines CIR1 (cut a
/// die, step right) and CIR2 (cut a die, step left), then the main unit that
/// visits the rows top to bottom in serpentine order. The arc's angle is
/// CutCount × 360 in full width, so any 16-bit count is written exactly.
/// Throws std::invalid_argument when RowTable holds no record.
void WriteCircleProgram(std::ostream& out, const WaferLayout& layout, const ProgramParameters& parameters);

} // namespace kerf
