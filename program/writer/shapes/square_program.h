// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <ostream>

#include "program/writer/program_parameters.h"
#include "layout/wafer_layout.h"

namespace kerf {

/// The whole program for a layout of square dies: one main unit that cuts
/// every row line, then every column line, each as one move between "OS" and
/// "CS" in serpentine order; more than one pass repeats both parts in one
/// "SL" block that returns to the origin. Throws std::invalid_argument when
/// RowTable or ColumnTable holds no record.
void WriteSquareProgram(std::ostream& out, const WaferLayout& layout, const ProgramParameters& parameters);

} // namespace kerf
