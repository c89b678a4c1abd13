// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/hexagon_pitches.h"

#include <cmath>

#include "numbers/number_text.h"

namespace kerf {

HexagonPitches hexagonPitches(float dieSize, float halfDieSize)
{
    const double h = roundHalfEven(halfDieSize / std::sqrt(3.0), 6);
    return {Number::ofSingle(dieSize), Number::ofDouble(3 * h), Number::ofDouble(h)};
}

} // namespace kerf
