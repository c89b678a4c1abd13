// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cmath>
#include <cstdint>

namespace kerf::cutcheck {

/// A position on a lattice axis, counted from the wafer centre.
using Index = std::int64_t;

/// Lattice positions past this lie far outside any wafer; keeping below it
/// keeps the positions clear of the integers' and the doubles' limits (and
/// of 2^51, where the rounding of snapToLattice stops working).
inline constexpr double FarLattice = 1e12;

/// A value snapped to its nearest lattice position.
struct LatticeSnap {
    Index index = 0;
    double offset = 0;  // how far the value lies from the position, in steps
    bool valid = false; // false for a value far outside any wafer, or not a number
};

/// Snaps `value` to the lattice of steps 1 / `inverse` through 0. Rounds to
/// the nearest position (halves to the even one) by adding and taking away
/// 1.5 × 2^52, which leaves no fraction: no branch and no conversion back, as
/// the cut check snaps every cut end.
inline LatticeSnap snapToLattice(double value, double inverse)
{
    constexpr double Rounder = 6755399441055744.0; // 1.5 × 2^52
    const double f = value * inverse;
    if (!(std::abs(f) < FarLattice))
        return {};
    const double nearest = (f + Rounder) - Rounder;
    return {static_cast<Index>(nearest), std::abs(f - nearest), true};
}

/// One axis of a lattice through the wafer centre.
struct LatticeAxis {
    double step = 1;
    double inverse = 1; // 0 for a step that is no positive number

    explicit LatticeAxis(double s = 1) : step(s), inverse(s > 0 ? 1 / s : 0) {}

    LatticeSnap snap(double value) const { return snapToLattice(value, inverse); }
    /// How far a snapped value lies from its position, inches.
    double inches(const LatticeSnap& snapped) const { return snapped.offset * step; }
};

} // namespace kerf::cutcheck
