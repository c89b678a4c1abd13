// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <random>
#include <string>
#include <utility>
#include <vector>

namespace kerf::testing {

/// Programs broken on purpose: a cutting line removed, a move changed, an
/// EL removed, a repeat count changed by one, a call of the wrong unit, a
/// ZERO put in, a move cut in two halves, a move retraced by a block of its
/// own, the return to the origin before a pass's end removed.
/// Each with what was done to it.
std::vector<std::pair<std::string, std::string>> brokenVersions(const std::string& text, std::mt19937& random);

} // namespace kerf::testing
