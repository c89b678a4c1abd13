// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

#include "program/writer/generation_parameters.h"
#include "layout/die_shape.h"

namespace kerf {

/// What the program of `shape` will cut when it differs from the pass count
/// typed in `texts`: a hexagon program cuts one pass one way for an odd
/// count and one pass there and back for an even one, so a count above 2 is
/// not repeated. Nothing when the program cuts as typed, or when the texts
/// are refused anyway.
std::optional<std::string> generationNote(DieShape shape, const GenerationTexts& texts);

} // namespace kerf
