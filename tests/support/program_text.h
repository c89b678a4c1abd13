// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace kerf::testing {

/// The lines of a program split at CR LF; fails the test when the text has a
/// bare CR or LF or does not end with CR LF.
std::vector<std::string> programLines(const std::string& text);

/// Lines joined into a program text, each ended by CR LF.
std::string joined(const std::vector<std::string>& lines);

/// `body` inside `depth` nested repeat blocks of `count` passes each (inline:
/// the benchmarks use it without linking the test support).
inline std::string nestedRepeats(int depth, const std::string& count, const std::string& body)
{
    std::string text;
    for (int k = 0; k < depth; ++k)
        text += "SL " + count + "\n";
    text += body;
    for (int k = 0; k < depth; ++k)
        text += "EL\n";
    return text;
}

/// Whether `lines` holds `fragment` as consecutive lines.
bool containsLines(const std::vector<std::string>& lines, const std::vector<std::string>& fragment);

/// The lines between "# MAIN PROGRAM" and the trailer's "MA X 0.0 Y 0.0".
std::vector<std::string> programBody(const std::vector<std::string>& lines);

/// The lines of row `rowNo` of a hexagon program: from its "# Row" comment
/// to the next comment.
std::vector<std::string> rowBlock(const std::vector<std::string>& lines, int rowNo);

} // namespace kerf::testing
