// SPDX-License-Identifier: GPL-3.0-or-later
#include "numbers/number_scan.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace kerf {
namespace {

bool allDigits(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

template <typename Float>
std::optional<Float> toFloat(const ScannedNumber& number)
{
    const std::string_view text = number.unsignedText;
    Float value = 0;
    // The grammar is a subset of from_chars's fixed format, so the only
    // failure left is a value out of the Float's range.
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return number.negative ? -value : value;
}

} // namespace

std::optional<ScannedNumber> scanNumber(std::string_view text, NumberGrammar grammar)
{
    if (grammar.surroundingSpaces) {
        while (!text.empty() && text.front() == ' ')
            text.remove_prefix(1);
        while (!text.empty() && text.back() == ' ')
            text.remove_suffix(1);
    }
    ScannedNumber number;
    if (!text.empty() && (text.front() == '-' || (grammar.plusSign && text.front() == '+'))) {
        number.negative = text.front() == '-';
        text.remove_prefix(1);
    }
    const std::size_t point = text.find('.');
    number.unsignedText = text;
    number.whole = text.substr(0, point);
    if (point != std::string_view::npos)
        number.fraction = text.substr(point + 1);
    if ((number.whole.empty() && number.fraction.empty()) || !allDigits(number.whole) || !allDigits(number.fraction))
        return std::nullopt;
    return number;
}

std::optional<double> toDouble(const ScannedNumber& number) { return toFloat<double>(number); }
std::optional<float> toSingle(const ScannedNumber& number) { return toFloat<float>(number); }

} // namespace kerf
