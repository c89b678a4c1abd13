// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <variant>

#include "decimal.h"

namespace kerf {

/// A number that carries its kind: empty (never assigned), 16-bit signed
/// integer, single, double or exact decimal. The kind is kept when the value
/// is copied and decides its program text.
class Number {
public:
    enum class Kind { Empty, Integer, Single, Double, Decimal };

    Number() = default;
    static Number ofInteger(std::int16_t value) { return Number(Storage(value)); }
    static Number ofSingle(float value) { return Number(Storage(value)); }
    static Number ofDouble(double value) { return Number(Storage(value)); }
    static Number ofDecimal(const Decimal& value) { return Number(Storage(value)); }

    Kind kind() const { return static_cast<Kind>(value_.index()); }
    bool isEmpty() const { return kind() == Kind::Empty; }

    /// The value as an exact decimal: empty is 0, an integer exactly, a single
    /// by its 7-significant-digit value, a double by its 15-digit value.
    Decimal toDecimal() const;
    /// The value as a double (a decimal correctly rounded; empty is 0).
    double toDouble() const;
    /// The value as a single (for drawing calls).
    float toSingle() const { return static_cast<float>(toDouble()); }

    /// The program-file text of the value by its kind: integer, single, double
    /// or decimal text; an empty value writes nothing.
    std::string text() const;

    bool operator==(const Number& other) const = default;

private:
    using Storage = std::variant<std::monostate, std::int16_t, float, double, Decimal>;
    explicit Number(Storage value) : value_(std::move(value)) {}
    Storage value_;
};

} // namespace kerf
