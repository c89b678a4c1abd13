// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace kerf::testing {

// A program's lines written otherwise without changing what it cuts.

/// Every repeat block written out as its body that many times.
std::vector<std::string> unrolled(std::vector<std::string> lines);

/// Every call of a unit replaced by the unit's lines (the units stay defined).
std::vector<std::string> inlined(const std::vector<std::string>& lines);

/// Blanks doubled between the words and an empty line after every line.
std::vector<std::string> respaced(const std::vector<std::string>& lines);

/// Every straight relative move ("MI X a Y b") as two moves of half of it.
std::vector<std::string> split(const std::vector<std::string>& lines);

} // namespace kerf::testing
