// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace kerf {

/// How many jobs the designer's list of recent jobs holds.
inline constexpr std::size_t RecentJobsMax = 8;

/// The recent jobs once `file` has been opened or saved: it first, every
/// file once, the oldest dropped beyond RecentJobsMax.
std::vector<std::string> withRecentJob(std::vector<std::string> recent, const std::string& file);

} // namespace kerf
