// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kerf {

/// The flat boxes as typed: lengths in mm, angles in degrees counter-clockwise
/// from 3 o'clock as seen on the map. An empty length (or 0) means no flat.
struct FlatTexts {
    std::string length;       // primary
    std::string at;           // primary; empty is 270 (6 o'clock)
    std::string secondLength; // secondary
    std::string secondAt;     // secondary; needed when it has a length

    bool empty() const { return length.empty() && at.empty() && secondLength.empty() && secondAt.empty(); }
    bool operator==(const FlatTexts&) const = default;
};

/// The angle of the primary flat when none is typed: 6 o'clock.
inline constexpr double DefaultFlatAngle = 270;

/// One flat of the wafer: a straight edge `length` mm long at `at` degrees.
struct Flat {
    double length = 0;
    double at = DefaultFlatAngle;
};

/// The wafer's flats, primary and secondary; none is the round wafer.
struct WaferFlats {
    std::optional<Flat> primary;
    std::optional<Flat> secondary;

    bool empty() const { return !primary && !secondary; }
    std::vector<Flat> list() const;
};

/// The line dies keep behind: a die centre c (inches from the wafer centre,
/// Y up) lies behind it when c·n < k, n = (nx, ny) the flat's outward unit normal.
struct KeepOutLine {
    double nx = 0;
    double ny = 0;
    double k = 0;
};

/// The outward unit normal at `degrees`, exact at the quarter turns.
KeepOutLine flatNormal(double degrees);

/// Each flat's keep-out line: the flat, sqrt(R² − (L/2)²) from the centre,
/// moved toward the centre by the rim's exclusion R − Reff (inches).
std::vector<KeepOutLine> keepOutLines(const WaferFlats& flats, float waferDiameter, float effectiveRadius);

/// Each flat's own edge on the nominal wafer (no exclusion), for drawing.
std::vector<KeepOutLine> flatEdges(const WaferFlats& flats, float waferDiameter);

/// The area of the circle of `radius` about the centre that lies behind every
/// line (c·n ≤ k), in square inches; `circleArea` is the whole circle's as
/// the caller counts it, so that no line gives it back exactly.
double areaBehindLines(double radius, double circleArea, const std::vector<KeepOutLine>& lines);

} // namespace kerf
