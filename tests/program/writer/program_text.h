#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "program/writer/program_parameters.h"
#include "layout/design_driver.h"
#include "layout/wafer_layout.h"

namespace kerf::test {

/// The lines of a program split at CR LF; fails the test when the text has a
/// bare CR or LF or does not end with CR LF.
std::vector<std::string> programLines(const std::string& text);

/// Whether `lines` holds `fragment` as consecutive lines.
bool containsLines(const std::vector<std::string>& lines, const std::vector<std::string>& fragment);

/// The lines between "# MAIN PROGRAM" and the trailer's "MA X 0.0 Y 0.0".
std::vector<std::string> programBody(const std::vector<std::string>& lines);

/// Parameters as the window's defaults give them, for a program named "job"
/// on 5 March 2004, with the layout's designer texts.
ProgramParameters defaultParameters(const WaferLayout& layout, std::int16_t cutCount = 1);

/// The layout of the design button for these designer boxes; fails the test
/// when the design gives no layout.
WaferLayout designed(const std::string& waferSize, const std::string& shape, const std::string& dieSize,
                     const std::string& fineTune = "");

/// A hexagon layout of rows centred on the wafer's vertical line, with these
/// die counts from top to bottom (an odd number of rows), a = half the die
/// width, h = half its side; RelX, RelY the lower-left corner of each row's
/// leftmost die.
WaferLayout hexagonRows(const std::vector<int>& countsTopToBottom, float a, double h);

/// The date every test program carries.
inline constexpr std::chrono::year_month_day TestDate{std::chrono::year{2004}, std::chrono::March,
                                                       std::chrono::day{5}};

} // namespace kerf::test
