// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kerf {

/// The values a program gives one machine parameter, as written: each
/// distinct text once, in the order first met.
struct SettingValues {
    std::vector<std::string> texts; // at most SettingValuesKept
    bool more = false;              // the program gives yet other values
};

/// How many distinct values of one parameter are kept.
inline constexpr std::size_t SettingValuesKept = 4;

/// The machine parameters a program sets: DVL and DAC by its SP lines, VEL and
/// ACC by its arcs (an MI clause with ARC).
struct ProgramSettings {
    SettingValues DVL, DAC, VEL, ACC;
};

/// Reads the settings of a program text in one pass over its lines (LF or
/// CR LF); lines that are no setting and no arc are skipped unread.
ProgramSettings programSettings(std::string_view text);

} // namespace kerf
