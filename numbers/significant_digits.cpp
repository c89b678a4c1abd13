// SPDX-License-Identifier: GPL-3.0-or-later
#include "significant_digits.h"

#include <charconv>
#include <cmath>
#include <stdexcept>
#include <string_view>

namespace kerf {
namespace {

template <typename Float>
SignificantDigits digitsOf(Float value, int count)
{
    if (!std::isfinite(value))
        throw std::overflow_error("not a finite number");
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::scientific, count - 1);
    std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
    SignificantDigits d;
    d.negative = text.front() == '-';
    if (d.negative)
        text.remove_prefix(1);
    const auto e = text.find('e');
    for (char c : text.substr(0, e))
        if (c != '.')
            d.digits += c;
    std::string_view exponent = text.substr(e + 1);
    if (exponent.front() == '+')
        exponent.remove_prefix(1);
    std::from_chars(exponent.data(), exponent.data() + exponent.size(), d.exponent);
    return d;
}

} // namespace

SignificantDigits significantDigits(double value, int count) { return digitsOf(value, count); }
SignificantDigits significantDigits(float value, int count) { return digitsOf(value, count); }

std::string plainText(const SignificantDigits& value)
{
    std::string digits = value.digits;
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    if (digits == "0")
        return "0";
    const int wholeDigits = value.exponent + 1; // digits before the point
    std::string text = value.negative ? "-" : "";
    if (wholeDigits <= 0) {
        text += "0.";
        text.append(static_cast<std::size_t>(-wholeDigits), '0');
        text += digits;
    } else if (wholeDigits >= static_cast<int>(digits.size())) {
        text += digits;
        text.append(static_cast<std::size_t>(wholeDigits) - digits.size(), '0');
    } else {
        text += digits.substr(0, static_cast<std::size_t>(wholeDigits));
        text += '.';
        text += digits.substr(static_cast<std::size_t>(wholeDigits));
    }
    return text;
}

} // namespace kerf
