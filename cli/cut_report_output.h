// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "program/check/cut_check.h"

namespace kerf::cli {

// The cut check's report as kerfwright-cli check prints it, drawn from the
// report in words that the preview window shows (cut_report_figures.h).
// Numbers never depend on the locale.

/// The report in the preview's words: a line naming the program and its
/// shape, a line per figure (the machine time's assumption under it), the
/// listed dies and cuts, and last the verdict.
void writeCutReportText(std::ostream& out, std::string_view program, const CutReport& report);

/// One JSON object: program, shape, checked (true), cancelled; a member per
/// figure of the report under its key (cuts, passes, cutLength, travelLength,
/// diesFullyCut, uncutDies, outsideCuts, strayCuts, uncertainPaths, end {x, y, laserOff,
/// cutOpen}, machineSeconds); then passesFrom, cuttingMotions, motions,
/// pointCuts, dies, uncutEdges, machineTimeAssumption, uncut (row, die, x, y,
/// edges, cuts), outside, stray and uncertain (line, from, to), allCut, clean. Lengths
/// and positions in inches, up to six decimals; numbers that are none
/// (unknown, NaN, infinite) are null.
void writeCutReportJson(std::ostream& out, std::string_view program, const CutReport& report);

/// One JSON object for a program that could not be checked: program, shape,
/// checked (false) and reason.
void writeUncheckedJson(std::ostream& out, std::string_view program, const CutReport& report);

/// Inches or seconds as a JSON number, to six decimals without the zeros at
/// the end ("-0.3", "12.345679", "0"); null for a value that is none.
std::string jsonNumber(double value);

/// Flagged cuts as a JSON array of {line, from {x, y}, to {x, y}}.
std::string jsonCuts(const std::vector<FlaggedCut>& cuts);

} // namespace kerf::cli
