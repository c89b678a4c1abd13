// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <utility>

#include "numbers/number.h"

namespace kerf {

/// The pitches of hexagons standing on a flat side, as the designer's rows
/// and the simulator's columns both step them.
struct HexagonPitches {
    Number DiePitch;    // the die size, a single: across the flats
    Number RowPitch;    // 3 × HexHalfSide, a double
    Number HexHalfSide; // half a side: HalfDieSize / √3 rounded half-even to 6 decimals, a double
};

/// The pitches of hexagons of `dieSize` inches across the flats, `halfDieSize` its half.
HexagonPitches hexagonPitches(float dieSize, float halfDieSize);

/// Sets the DiePitch, RowPitch and HexHalfSide of a designer's or a
/// simulator's layout from its DieSize and HalfDieSize; returns HexHalfSide.
template <typename Layout>
double setHexagonPitches(Layout& layout)
{
    HexagonPitches pitches = hexagonPitches(layout.DieSize, layout.HalfDieSize);
    layout.DiePitch = std::move(pitches.DiePitch);
    layout.RowPitch = std::move(pitches.RowPitch);
    layout.HexHalfSide = std::move(pitches.HexHalfSide);
    return layout.HexHalfSide.toDouble();
}

} // namespace kerf
