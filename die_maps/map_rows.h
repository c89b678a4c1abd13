// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "die_maps/map_grid.h"

namespace kerf {

/// The code of a place without a die, and the code written for every die.
inline constexpr std::string_view NullCode = "__";
inline constexpr std::string_view DieCode = "01";

/// Mil per inch: map files give their steps in mil.
Decimal inMil(const Decimal& inches);

/// Calls `visit` with each row's codes from the top, two characters a cell,
/// `separator` between cells: NullCode where there is no die, DieCode on a die.
void forEachCodeRow(const MapGrid& grid, std::string_view separator,
                    const std::function<void(const std::string&)>& visit);

} // namespace kerf
