// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace kerf {

/// A floating value rounded to a number of significant digits:
/// value = 0.d1d2d3... × 10^(exponent + 1), that is d1 stands at 10^exponent.
/// Trailing zeros of `digits` are kept; `digits` is "0" for zero.
struct SignificantDigits {
    bool negative = false;
    std::string digits;
    int exponent = 0;
};

/// Rounds with to_chars (round half to even on the exact binary value);
/// throws std::overflow_error for infinities and NaN.
SignificantDigits significantDigits(double value, int count);
SignificantDigits significantDigits(float value, int count);

/// Plain text of the digits: no exponent, no trailing zeros, no trailing point,
/// "0" before the point below 1, "-" before negatives.
std::string plainText(const SignificantDigits& value);

} // namespace kerf
