// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "numbers/decimal.h"

namespace kerf {

/// The wafer centre in the drawing area `PIC1`, inches: the picture is
/// 5.25 inches square (a 7620-twip box less a 2-pixel border each side at 96
/// pixels an inch). Layouts and programs depend on these values, never on the
/// screen.
inline constexpr float CenterX = 2.625f;
inline constexpr float CenterY = 2.625f;

/// A position in picture inches, in exact decimal arithmetic.
struct LayoutPoint {
    Decimal X;
    Decimal Y;
};

/// The wafer centre (CenterX, CenterY) as exact decimals: what the layouts
/// walk from and measure their dies against.
const LayoutPoint& waferCentre();

} // namespace kerf
