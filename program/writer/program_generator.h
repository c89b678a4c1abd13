// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <ostream>

#include "program/writer/program_parameters.h"
#include "layout/wafer_layout.h"

namespace kerf {

/// A generator: writes the whole program for a layout to a stream.
using ProgramGenerator = void (*)(std::ostream& out, const WaferLayout& layout,
                                  const ProgramParameters& parameters);

/// The generator of a layout's shape. Hexagons: an odd pass count cuts each
/// row once (one way), an even count cuts it there and back (two way).
ProgramGenerator generatorFor(DieShape shape, std::int16_t cutCount);
/// The generator of a layout: that of its shape, or on a wafer with flats
/// the flatted one of its shape.
ProgramGenerator generatorFor(const WaferLayout& layout, std::int16_t cutCount);

} // namespace kerf
