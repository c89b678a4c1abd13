// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <limits>
#include <string>

namespace kerf {

// How the cut report writes its numbers: with "." whatever the locale.

/// The count from which a count is past what a signed 64-bit number holds:
/// the counts of the check stop there rather than wrap.
inline constexpr std::uint64_t CountPast = std::numeric_limits<std::int64_t>::max();

/// A count in digits, or «超過 9.2×10¹⁸» once it reaches CountPast.
std::string countText(std::uint64_t count);

/// Inches with `places` digits after the point («1.2500»); no "-" before a
/// value that shows as zero; "—" for a value that is none (NaN, infinite).
/// Any finite value is written out in full, however large.
std::string inchesText(double inches, int places);

/// A machine time: «45.2 秒», «3 分 05 秒», «2 小時 07 分 09 秒»; "—" for a
/// time that is none or negative.
std::string durationText(double seconds);

} // namespace kerf
