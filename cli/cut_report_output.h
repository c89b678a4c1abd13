#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "program/check/cut_check.h"

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

/// The machine time as the report gives it: "1 小時 2 分 3.4 秒", "12.5 秒".
std::string machineTimeText(double seconds);

/// One JSON object: program, shape, checked (true), cancelled, machineSeconds (null when
/// unknown), machineTimeAssumption, passes, passesFrom, cuts,
/// cuttingMotions, motions, pointCuts, cutLength, travelLength, dies,
/// diesFullyCut, uncutDies, uncutEdges, uncut (row, die, x, y, edges, cuts),
/// outsideCuts, outside and strayCuts, stray (line, from, to), end (x, y,
/// laserOff, cutOpen), allCut, clean. Numbers that are none are null.
void writeCutReportJson(std::ostream& out, std::string_view program, const CutReport& report);

/// One JSON object for a program that could not be checked: program, shape,
/// checked (false) and reason.
void writeUncheckedJson(std::ostream& out, std::string_view program, const CutReport& report);

} // namespace kerf::cli
