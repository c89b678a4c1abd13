// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kerf {

/// An exact scaled decimal: a sign, a magnitude below 2^96 and 0 to 28 digits
/// after the point. Sums, differences, products and halves are exact while the
/// magnitude fits; past 96 bits the result keeps fewer digits after the point,
/// rounded half to even. A value whose whole part cannot fit throws
/// std::overflow_error (the layouts never come near it: their inputs are
/// bounded by the wafer size).
class Decimal {
public:
    static constexpr int MaxScale = 28;

    constexpr Decimal() = default;

    static Decimal fromInteger(long long value);
    /// The single's value as it is shown with 7 significant digits.
    static Decimal fromSingle(float value);
    /// The double's value as it is shown with 15 significant digits.
    static Decimal fromDouble(double value);
    /// Plain text: optional sign, digits, optional point and digits (".5" and
    /// "5." too; the grammar of number_scan.h, no spaces). Nothing else;
    /// digits past the 28th after the point are rounded half to even. Empty
    /// when the text is not such a number or its whole part does not fit.
    static std::optional<Decimal> parse(std::string_view text);

    Decimal operator-() const;
    Decimal operator+(const Decimal& other) const;
    Decimal operator-(const Decimal& other) const;
    Decimal operator*(const Decimal& other) const;
    Decimal operator*(long long factor) const { return *this * fromInteger(factor); }
    /// Exactly half of the value.
    Decimal half() const;
    /// Rounded to at most `places` digits after the point, halves to even.
    Decimal roundedHalfEven(int places) const;
    /// Rounded to at most `places` digits after the point, halves away from zero.
    Decimal roundedHalfAway(int places) const;

    /// The value × 10^scale when that is a whole number within ±2^62.
    std::optional<long long> scaledInteger(int scale) const;

    bool isZero() const { return low_ == 0 && high_ == 0; }
    bool isNegative() const { return negative_; }
    int scale() const { return scale_; }

    /// The nearest double (correctly rounded).
    double toDouble() const;
    /// The nearest single (correctly rounded).
    float toSingle() const;
    /// Plain text: no exponent, no trailing zeros or point, "0" before the
    /// point below 1, "-" before negatives («0.051», «-0.088335», «2»).
    std::string text() const;

    std::strong_ordering operator<=>(const Decimal& other) const;
    bool operator==(const Decimal& other) const { return (*this <=> other) == 0; }

private:
    using Magnitude = unsigned __int128;
    Decimal(bool negative, Magnitude magnitude, int scale)
    {
        if (magnitude >= (Magnitude(1) << 96))
            fit(magnitude, scale);
        low_ = static_cast<std::uint64_t>(magnitude);
        high_ = static_cast<std::uint32_t>(magnitude >> 64);
        scale_ = static_cast<std::uint8_t>(scale);
        negative_ = negative && magnitude != 0;
    }
    /// Drops digits after the point (rounded) until the magnitude fits 96 bits.
    static void fit(Magnitude& magnitude, int& scale);
    Magnitude magnitude() const { return (Magnitude(high_) << 64) | low_; }
    /// The signed sum of two magnitudes of the same scale (each below 2^126).
    static Decimal sum(bool negativeA, Magnitude a, bool negativeB, Magnitude b, int scale);
    static Decimal fromDigits(bool negative, std::string_view digits, int exponent);
    Decimal roundedTo(int places, bool halfEven) const;

    // 16 bytes: a 96-bit magnitude, the scale and the sign.
    std::uint64_t low_ = 0;
    std::uint32_t high_ = 0;
    std::uint8_t scale_ = 0;
    bool negative_ = false;
};

} // namespace kerf
