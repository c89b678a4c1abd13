// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace kerf {

/// n / 2 as a whole number, a half rounded to the even neighbour
/// (3 gives 2, 5 gives 2, −3 gives −2, −1 gives 0), as the program's
/// integer conversions round.
constexpr int halvedToEven(int n)
{
    const int floor = n >= 0 ? n / 2 : -((1 - n) / 2);
    if (n % 2 == 0)
        return floor;
    return floor % 2 == 0 ? floor : floor + 1;
}

} // namespace kerf
