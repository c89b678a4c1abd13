// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <variant>

#include "layout/design_driver.h"
#include "layout/wafer_flats.h"

namespace kerf {

/// The flat boxes read for a wafer of `waferDiameter` inches: a length that
/// is not a number, negative or longer than the diameter, an angle that is
/// not a number, or a secondary length without its angle is refused naming
/// the box (focus InputBox::Flats).
std::variant<WaferFlats, Refusal> readFlats(const FlatTexts& texts, float waferDiameter);

} // namespace kerf
