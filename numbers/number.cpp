// SPDX-License-Identifier: GPL-3.0-or-later
#include "number.h"

#include "number_text.h"

namespace kerf {

Decimal Number::toDecimal() const
{
    switch (kind()) {
    case Kind::Empty: return Decimal();
    case Kind::Integer: return Decimal::fromInteger(std::get<std::int16_t>(value_));
    case Kind::Single: return Decimal::fromSingle(std::get<float>(value_));
    case Kind::Double: return Decimal::fromDouble(std::get<double>(value_));
    case Kind::Decimal: return std::get<Decimal>(value_);
    }
    return Decimal();
}

double Number::toDouble() const
{
    switch (kind()) {
    case Kind::Empty: return 0.0;
    case Kind::Integer: return std::get<std::int16_t>(value_);
    case Kind::Single: return std::get<float>(value_);
    case Kind::Double: return std::get<double>(value_);
    case Kind::Decimal: return std::get<Decimal>(value_).toDouble();
    }
    return 0.0;
}

std::string Number::text() const
{
    switch (kind()) {
    case Kind::Empty: return "";
    case Kind::Integer: return integerText(std::get<std::int16_t>(value_));
    case Kind::Single: return singleText(std::get<float>(value_));
    case Kind::Double: return doubleText(std::get<double>(value_));
    case Kind::Decimal: return std::get<Decimal>(value_).text();
    }
    return "";
}

} // namespace kerf
