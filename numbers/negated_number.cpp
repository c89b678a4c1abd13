// SPDX-License-Identifier: GPL-3.0-or-later
#include "negated_number.h"

namespace kerf {

Number negated(const Number& value)
{
    switch (value.kind()) {
    case Number::Kind::Empty: return value;
    case Number::Kind::Integer: {
        const int negative = -static_cast<int>(value.toDouble());
        // −(−32768) has no 16-bit value; it widens as the exact decimal.
        if (negative > 32767)
            return Number::ofDecimal(Decimal::fromInteger(negative));
        return Number::ofInteger(static_cast<std::int16_t>(negative));
    }
    case Number::Kind::Single: return Number::ofSingle(-value.toSingle());
    case Number::Kind::Double: return Number::ofDouble(-value.toDouble());
    case Number::Kind::Decimal: return Number::ofDecimal(-value.toDecimal());
    }
    return value;
}

} // namespace kerf
