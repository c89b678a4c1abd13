// SPDX-License-Identifier: GPL-3.0-or-later
#include "decimal.h"

#include "numbers/number_scan.h"
#include "numbers/significant_digits.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <stdexcept>

namespace kerf {
namespace {

using Magnitude = unsigned __int128;

constexpr Magnitude MagnitudeLimit = Magnitude(1) << 96; // magnitudes stay below this

struct PowerTable {
    Magnitude value[39];
    constexpr PowerTable() : value()
    {
        value[0] = 1;
        for (int i = 1; i < 39; ++i)
            value[i] = value[i - 1] * 10;
    }
};
constexpr PowerTable PowersOfTen;

constexpr Magnitude pow10(int n)
{
    return PowersOfTen.value[n];
}

// Divides by 10^n, rounding the quotient to the nearest; a tie goes to the
// even quotient or away from zero.
Magnitude divideRounded(Magnitude value, int n, bool halfEven)
{
    if (n <= 0)
        return value;
    if (n > 38)
        return 0;
    const Magnitude divisor = pow10(n);
    Magnitude quotient = value / divisor;
    const Magnitude rest = value % divisor;
    const Magnitude twice = rest * 2; // rest < 10^38 < 2^127: no overflow
    if (twice > divisor || (twice == divisor && (!halfEven || (quotient & 1))))
        ++quotient;
    return quotient;
}

bool multiplyFits(Magnitude a, Magnitude b, Magnitude& product)
{
    return !__builtin_mul_overflow(a, b, &product);
}

} // namespace

void Decimal::fit(Magnitude& magnitude, int& scale)
{
    while (magnitude >= MagnitudeLimit && scale > 0) {
        magnitude = divideRounded(magnitude, 1, true);
        --scale;
    }
    if (magnitude >= MagnitudeLimit)
        throw std::overflow_error("decimal value out of range");
}

Decimal Decimal::fromInteger(long long value)
{
    const bool negative = value < 0;
    const Magnitude magnitude = negative ? Magnitude(-(value + 1)) + 1 : Magnitude(value);
    return Decimal(negative, magnitude, 0);
}

Decimal Decimal::fromDigits(bool negative, std::string_view digits, int exponent)
{
    // value = d1.d2d3... × 10^exponent; trailing zeros carry no value
    while (digits.size() > 1 && digits.back() == '0')
        digits.remove_suffix(1);
    Magnitude magnitude = 0;
    for (char c : digits) {
        if (magnitude > (~Magnitude(0)) / 10 - 10)
            throw std::overflow_error("decimal value out of range");
        magnitude = magnitude * 10 + Magnitude(c - '0');
    }
    int scale = static_cast<int>(digits.size()) - 1 - exponent;
    if (scale < 0) {
        for (; scale < 0; ++scale) {
            if (magnitude >= MagnitudeLimit)
                throw std::overflow_error("decimal value out of range");
            magnitude *= 10;
        }
    } else if (scale > MaxScale) {
        magnitude = divideRounded(magnitude, scale - MaxScale, true);
        scale = MaxScale;
    }
    return Decimal(negative, magnitude, scale);
}

Decimal Decimal::fromSingle(float value)
{
    const SignificantDigits d = significantDigits(value, 7);
    return fromDigits(d.negative, d.digits, d.exponent);
}

Decimal Decimal::fromDouble(double value)
{
    const SignificantDigits d = significantDigits(value, 15);
    return fromDigits(d.negative, d.digits, d.exponent);
}

std::optional<Decimal> Decimal::parse(std::string_view text)
{
    const auto number = scanNumber(text, NumberGrammar{.plusSign = true, .surroundingSpaces = false});
    if (!number)
        return std::nullopt;
    std::string digits(number->whole);
    int pointAt = static_cast<int>(digits.size());
    // Decimals past the 29th only tell a tie from more than half: a single
    // sticky digit stands for them, so that the magnitude fits while it is built.
    constexpr std::size_t Kept = MaxScale + 1;
    const std::string_view fraction = number->fraction;
    digits += fraction.substr(0, Kept);
    if (fraction.size() > Kept && fraction.find_first_not_of('0', Kept) != std::string_view::npos)
        digits += '1';
    // Leading zeros carry no value; dropping them keeps long texts in range.
    while (digits.size() > 1 && digits.front() == '0') {
        digits.erase(0, 1);
        --pointAt;
    }
    try {
        return fromDigits(number->negative, digits, pointAt - 1);
    } catch (const std::overflow_error&) {
        return std::nullopt;
    }
}

Decimal Decimal::operator-() const
{
    return Decimal(!negative_, magnitude(), scale_);
}

Decimal Decimal::operator+(const Decimal& other) const
{
    if (scale_ == other.scale_)
        return sum(negative_, magnitude(), other.negative_, other.magnitude(), scale_);
    // Widen the coarser operand to the finer scale; in the rare case that it
    // does not fit 128 bits, drop digits of the finer one (rounded) instead.
    const bool thisIsCoarse = scale_ < other.scale_;
    const Decimal& coarse = thisIsCoarse ? *this : other;
    const Decimal& fine = thisIsCoarse ? other : *this;
    Magnitude fineMagnitude = fine.magnitude();
    int fineScale = fine.scale_;
    for (;;) {
        Magnitude widened;
        if (multiplyFits(coarse.magnitude(), pow10(fineScale - coarse.scale_), widened)
            && widened < (Magnitude(1) << 126))
            return sum(coarse.negative_, widened, fine.negative_, fineMagnitude, fineScale);
        fineMagnitude = divideRounded(fineMagnitude, 1, true);
        --fineScale;
    }
}

Decimal Decimal::sum(bool negativeA, Magnitude a, bool negativeB, Magnitude b, int scale)
{
    if (negativeA == negativeB)
        return Decimal(negativeA, a + b, scale);
    if (a >= b)
        return Decimal(negativeA, a - b, scale);
    return Decimal(negativeB, b - a, scale);
}

Decimal Decimal::operator-(const Decimal& other) const
{
    return *this + (-other);
}

Decimal Decimal::operator*(const Decimal& other) const
{
    Magnitude a = magnitude();
    Magnitude b = other.magnitude();
    int scaleA = scale_;
    int scaleB = other.scale_;
    Magnitude product;
    // Past 128 bits, drop digits of the operand with more of them, rounded.
    while (!multiplyFits(a, b, product)) {
        if (scaleA == 0 && scaleB == 0)
            throw std::overflow_error("decimal product out of range");
        if (scaleA >= scaleB) {
            a = divideRounded(a, 1, true);
            --scaleA;
        } else {
            b = divideRounded(b, 1, true);
            --scaleB;
        }
    }
    int scale = scaleA + scaleB;
    if (scale > MaxScale) {
        product = divideRounded(product, scale - MaxScale, true);
        scale = MaxScale;
    }
    return Decimal(negative_ != other.negative_, product, scale);
}

Decimal Decimal::half() const
{
    const Magnitude m = magnitude();
    if (m % 2 == 0)
        return Decimal(negative_, m / 2, scale_);
    if (scale_ < MaxScale)
        return Decimal(negative_, m * 5, scale_ + 1);
    return Decimal(negative_, divideRounded(m * 5, 1, true), scale_);
}

Decimal Decimal::roundedTo(int places, bool halfEven) const
{
    if (places < 0)
        places = 0;
    if (scale_ <= places)
        return *this;
    return Decimal(negative_, divideRounded(magnitude(), scale_ - places, halfEven), places);
}

Decimal Decimal::roundedHalfEven(int places) const { return roundedTo(places, true); }
Decimal Decimal::roundedHalfAway(int places) const { return roundedTo(places, false); }

std::optional<long long> Decimal::scaledInteger(int scale) const
{
    if (scale < scale_ || scale > MaxScale)
        return std::nullopt;
    Magnitude widened;
    if (!multiplyFits(magnitude(), pow10(scale - scale_), widened) || widened >= (Magnitude(1) << 62))
        return std::nullopt;
    const auto value = static_cast<long long>(widened);
    return negative_ ? -value : value;
}

std::string Decimal::text() const
{
    // At most 29 digits (below 2^96), padded to at most 29 (scale 28 and a 0),
    // written from the back; 64-bit division once the magnitude fits.
    char digits[32];
    char* const end = digits + sizeof digits;
    char* first = end;
    Magnitude wide = magnitude();
    for (; wide > std::numeric_limits<std::uint64_t>::max(); wide /= 10)
        *--first = char('0' + int(wide % 10));
    for (auto narrow = static_cast<std::uint64_t>(wide); narrow != 0; narrow /= 10)
        *--first = char('0' + int(narrow % 10));
    while (end - first <= scale_)
        *--first = '0';
    const char* const point = end - scale_;
    const char* last = end;
    while (last > point && last[-1] == '0')
        --last;
    std::string result = isNegative() ? "-" : "";
    result.append(first, static_cast<std::size_t>(point - first));
    if (last > point) {
        result += '.';
        result.append(point, static_cast<std::size_t>(last - point));
    }
    return result;
}

double Decimal::toDouble() const
{
    // Both parts exact in a double: one division rounds correctly.
    Magnitude magnitude = this->magnitude();
    int scale = scale_;
    while (scale > 0 && magnitude % 10 == 0 && magnitude >= (Magnitude(1) << 53)) {
        magnitude /= 10;
        --scale;
    }
    if (magnitude < (Magnitude(1) << 53) && scale <= 22) {
        const double value = double(static_cast<std::uint64_t>(magnitude)) / double(pow10(scale));
        return negative_ ? -value : value;
    }
    const std::string s = text();
    double value = 0;
    std::from_chars(s.data(), s.data() + s.size(), value);
    return value;
}

float Decimal::toSingle() const
{
    const std::string s = text();
    float value = 0;
    std::from_chars(s.data(), s.data() + s.size(), value);
    return value;
}

std::strong_ordering Decimal::operator<=>(const Decimal& other) const
{
    const Decimal difference = *this - other;
    if (difference.isZero())
        return std::strong_ordering::equal;
    return difference.isNegative() ? std::strong_ordering::less : std::strong_ordering::greater;
}

} // namespace kerf
