// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

namespace kerf {

/// The usual flat lengths of a wafer as box texts (mm, primary and secondary).
struct UsualFlats {
    const char* primary;
    const char* secondary;
};

/// Those of a wafer of `waferDiameter` inches; none for a size without a
/// common standard (2.5 inches).
inline std::optional<UsualFlats> usualFlats(float waferDiameter)
{
    if (waferDiameter == 2.0f)
        return UsualFlats{"15.88", "8"};
    if (waferDiameter == 3.0f)
        return UsualFlats{"22.22", "11.18"};
    if (waferDiameter == 4.0f)
        return UsualFlats{"32.5", "18"};
    if (waferDiameter == 5.0f)
        return UsualFlats{"42.5", "27.5"};
    return std::nullopt;
}

} // namespace kerf
