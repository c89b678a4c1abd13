// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "program/check/report/cut_report.h"

namespace kerf {

/// The cuts of `mine` that `theirs` lacks: each of `mine` is matched to one
/// of `theirs` lying on the same place (ends within `tolerance`, either way
/// round), whatever its line. The unmatched are listed in `mine`'s order,
/// the first `listLimit` of them.
std::vector<FlaggedCut> unmatchedCuts(const std::vector<FlaggedCut>& mine, const std::vector<FlaggedCut>& theirs,
                                      double tolerance, std::size_t listLimit, std::int64_t& count);

} // namespace kerf
