// SPDX-License-Identifier: GPL-3.0-or-later
#include "number_text.h"

#include <cmath>
#include <cstdio>

#include "numbers/number_scan.h"
#include "numbers/significant_digits.h"

namespace kerf {

std::string integerText(long long value)
{
    return std::to_string(value);
}

std::string singleText(float value)
{
    return plainText(significantDigits(value, 7));
}

std::string doubleText(double value)
{
    return plainText(significantDigits(value, 15));
}

std::string angleText(long long value)
{
    std::string text = "-";
    if (value != 0)
        text += std::to_string(value);
    text += ".0";
    return text;
}

std::string lengthText(const Decimal& value)
{
    std::string text = value.roundedHalfAway(6).text();
    if (text.find('.') == std::string::npos)
        text += ".0";
    return text;
}

std::string dateText(std::chrono::year_month_day date)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%04d/%02u/%02u", int(date.year()),
                  unsigned(date.month()), unsigned(date.day()));
    return buffer;
}

double roundHalfEven(double value, int places)
{
    const double scale = std::pow(10.0, places);
    return std::nearbyint(value * scale) / scale;
}

std::string utilisationText(double percent)
{
    return doubleText(roundHalfEven(percent, 2));
}

namespace {

// The boxes take "+" and spaces around the number.
constexpr NumberGrammar BoxGrammar{.plusSign = true, .surroundingSpaces = true};

} // namespace

std::optional<float> parseSingle(std::string_view text)
{
    const auto number = scanNumber(text, BoxGrammar);
    return number ? toSingle(*number) : std::nullopt;
}

std::optional<double> parseDouble(std::string_view text)
{
    const auto number = scanNumber(text, BoxGrammar);
    return number ? toDouble(*number) : std::nullopt;
}

std::optional<std::int16_t> parseInteger16(std::string_view text)
{
    const auto value = parseDouble(text);
    if (!value)
        return std::nullopt;
    const double rounded = std::nearbyint(*value);
    if (rounded < -32768.0 || rounded > 32767.0)
        return std::nullopt;
    return static_cast<std::int16_t>(rounded);
}

} // namespace kerf
