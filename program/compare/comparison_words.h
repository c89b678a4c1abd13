// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "program/compare/program_comparison.h"

namespace kerf {

// A comparison of two programs in the words the preview, the job sheet and
// kerfwright-cli compare give it (Traditional Chinese; numbers with "."
// whatever the locale).

/// «相同», «N 個晶粒不同», or «晶粒切割相同，N 道切割只在一方» when only
/// flagged cuts differ; «無法比較：…» when either could not be checked.
std::string comparisonVerdict(const ProgramComparison& comparison);

/// «第 3 列第 5 個晶粒（X 0.100000, Y -0.200000）：A 切 2 次，B 切 1 次».
std::string differingDieText(const DifferingDie& die);

/// A flagged cut in one program only: «程式第 12 行（從 X …, Y … 到 X …, Y …）».
std::string unmatchedCutText(const FlaggedCut& cut);

/// The whole comparison: the two programs named, the verdict, their passes
/// and machine times, the first `listLimit` differing dies and the flagged
/// cuts in one of them only (each list with a last line counting the rest).
std::vector<std::string> comparisonLines(const ProgramComparison& comparison, std::string_view nameA,
                                         std::string_view nameB, std::size_t listLimit);

} // namespace kerf
