// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string_view>
#include <variant>

#include "layout/design_driver.h"
#include "layout/die_layouts.h"

namespace kerf {

// Reading the number boxes of the designer and the simulator, and the
// refusals that both share. Every prompt says what to change.

/// The box's text as a single, or a refusal naming the box when it is not a
/// number or is negative.
std::variant<float, Refusal> readSingleBox(std::string_view text, InputBox box);
/// The same as a double.
std::variant<double, Refusal> readDoubleBox(std::string_view text, InputBox box);

/// The die size box (mil) in inches, or its refusal.
std::variant<float, Refusal> readDieSize(std::string_view text);
/// The effective diameter box (inches): the wafer diameter when it is empty,
/// else its value, or its refusal.
std::variant<float, Refusal> readEffectiveDiameter(std::string_view text, float waferDiameter);

/// The refusal of a text pasted or dropped into `box` (its blanks trimmed
/// already), or none when it is a number written with the digits and the
/// point the box takes: «-5» is refused as negative, «12,5» or «1e2» as not
/// a number, naming the text.
std::optional<Refusal> refusePastedNumber(std::string_view text, InputBox box);

/// The refusal for a die size of 0 or less.
Refusal dieSizeNotPositive();

/// The refusal for a layout that could not be made, or none when it was made.
std::optional<Refusal> refusalFor(LayoutFailure failure);

} // namespace kerf
