// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <ostream>
#include <string_view>

#include "program/compare/program_comparison.h"

namespace kerf::cli {

/// The comparison in words (comparisonLines), a line each.
void writeComparisonText(std::ostream& out, const ProgramComparison& comparison, std::string_view nameA,
                         std::string_view nameB, std::size_t listLimit);

/// One JSON object: same; differing, the first `listLimit` differing dies
/// (row, die, x, y, a, b); strayOnlyA, strayOnlyB, outsideOnlyA, outsideOnlyB,
/// the flagged cuts in one program only (line, from, to); passesA, passesB;
/// machineSecondsA, machineSecondsB (null when not known).
void writeComparisonJson(std::ostream& out, const ProgramComparison& comparison, std::size_t listLimit);

} // namespace kerf::cli
