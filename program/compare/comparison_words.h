// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "program/compare/die_cut_lines.h"
#include "program/compare/program_comparison.h"

namespace kerf {

// A comparison of two programs in the words the preview, the job sheet and
// kerfwright-cli compare give it (Traditional Chinese; numbers with "."
// whatever the locale).

/// «相同», «N 個晶粒不同», or «晶粒切割相同，N 道切割只在一方» when only
/// flagged cuts differ; «無法比較：…» when either could not be checked.
std::string comparisonVerdict(const ProgramComparison& comparison);

/// What a job sheet says of the program compared with the one named `other`:
/// «與 B.TXT 相同», else «與 B.TXT 比較：» and the verdict.
std::string comparedWithText(const ProgramComparison& comparison, std::string_view other);

/// «第 3 列第 5 個晶粒（X 0.100000, Y -0.200000）：A 切 2 次，B 切 1 次».
std::string differingDieText(const DifferingDie& die);

/// The same in short, for a list: «第 3 列第 5 個晶粒：A 2 次，B 1 次».
std::string differingDieShortText(const DifferingDie& die);

/// A flagged cut in one program only: «程式第 12 行（從 X …, Y … 到 X …, Y …）».
std::string unmatchedCutText(const FlaggedCut& cut);

/// A die picked and the lines of each program that cut it: «第 3 列第 5 個晶粒
/// …», then «程式 A 切它的行：» and a line each «  12: MI X 0.15», the same
/// for B; a note where a run was cut short.
std::string dieLinesText(const DifferingDie& die, const DieCutLines& linesA, const std::vector<std::string>& textsA,
                         const DieCutLines& linesB, const std::vector<std::string>& textsB);

/// The whole comparison: the two programs named, the verdict, their passes
/// and machine times, the first `listLimit` differing dies and the flagged
/// cuts in one of them only (each list with a last line counting the rest).
std::vector<std::string> comparisonLines(const ProgramComparison& comparison, std::string_view nameA,
                                         std::string_view nameB, std::size_t listLimit);

} // namespace kerf
