#pragma once

#include <string>

namespace kerf {

// How the cut report writes its numbers: with "." whatever the locale.

/// Inches with `places` digits after the point («1.2500»); no "-" before a
/// value that shows as zero; "—" for a value that is none (NaN, infinite).
/// Any finite value is written out in full, however large.
std::string inchesText(double inches, int places);

/// A machine time: «45.2 秒», «3 分 05 秒», «2 小時 07 分 09 秒»; "—" for a
/// time that is none or negative.
std::string durationText(double seconds);

} // namespace kerf
