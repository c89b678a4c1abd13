// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "layout/wafer_layout.h"

namespace kerf {

/// The three result boxes, as their texts: total cutting rows, total dies,
/// area utilisation in percent.
struct LayoutResults {
    std::string rows;
    std::string dies;
    std::string utilisation;

    bool operator==(const LayoutResults&) const = default;
};

/// The area of the effective circle, with π as 3.141592654.
inline constexpr double PI_APPROX = 3.141592654;

/// The sum of DieCount over the records of `table`.
long long sumDieCounts(const LayoutTable& table);

/// The area of one hexagon: HexHalfSide × HalfDieSize × 6, multiplied in
/// that order (6·r·h).
double hexagonArea(double hexHalfSide, float halfDieSize);

/// The result boxes of a layout of `records` table records holding `dies`
/// dies of `dieArea` square inches each, on the effective circle of
/// `effectiveRadius`: the records, the dies, and the dies' area over the
/// circle's in percent.
LayoutResults resultTexts(int records, long long dies, double dieArea, float effectiveRadius);
/// The same over an effective area of `waferArea` square inches.
LayoutResults resultTextsForArea(int records, long long dies, double dieArea, double waferArea);

/// The effective area of a layout: the effective circle (π as PI_APPROX),
/// less the segments past the keep-out lines of its flats.
double effectiveArea(const WaferLayout& layout);

/// The dies a layout holds: the sum of DieCount over RowTable, for squares
/// over row lines 2 to N (the first row line closes no die); on a flatted
/// wafer, the square cells whose four corners are usable.
long long dieTotal(const WaferLayout& layout);

/// The results that the map drawing writes for a designer layout.
LayoutResults layoutResults(const WaferLayout& layout);

/// The same for a layout of `shape` and its pitches whose RowTable was only
/// counted: `records` records holding `dies` dies (squares: the first row
/// line's count already left out).
LayoutResults layoutResults(const WaferLayout& layout, int records, long long dies);

} // namespace kerf
