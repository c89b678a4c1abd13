// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string_view>

namespace kerf {

enum class DieShape { Circle, Hexagon, Square };

/// The shape list's texts: "Circle", "Hexagon", "Square".
const char* shapeText(DieShape shape);

/// The shape whose list text `text` is, or none for any other text (the
/// shape box is editable, so it may hold anything).
std::optional<DieShape> shapeFromText(std::string_view text);

/// Only round dies are cut with a fine-tune gap between them.
bool usesFineTune(DieShape shape);

} // namespace kerf
