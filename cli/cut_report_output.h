#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "codegen/cut_check.h"

namespace kerf::cli {

// The cut check's report as kerfwright-cli check prints it. Numbers never
// depend on the locale; lengths and positions are in inches, up to six
// decimals.

/// "-0.3", "12.345679", "0"; "inf", "nan" for values that are none.
std::string inchText(double value);

/// The edges of `mask` for a shape: "left, upper right" (hexagons), "top,
/// bottom" (squares); empty for circles.
std::string edgeNames(DieShape shape, std::uint8_t mask);

/// A few lines per figure, then the lists, then "Result: …".
void writeCutReportText(std::ostream& out, std::string_view program, const CutReport& report);

/// One JSON object: program, shape, cancelled, passes, passesFrom, cuts,
/// cuttingMotions, motions, pointCuts, cutLength, travelLength, dies,
/// diesFullyCut, uncutDies, uncutEdges, uncut (row, die, x, y, edges, cuts),
/// outsideCuts, outside and strayCuts, stray (line, from, to), end (x, y,
/// laserOff, cutOpen), allCut, clean. Numbers that are none are null.
void writeCutReportJson(std::ostream& out, std::string_view program, const CutReport& report);

} // namespace kerf::cli
