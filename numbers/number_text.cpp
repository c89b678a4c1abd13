#include "number_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "significant_digits.h"

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

std::optional<std::string_view> numberGrammar(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    std::string_view body = text;
    if (!body.empty() && (body.front() == '-' || body.front() == '+'))
        body.remove_prefix(1);
    int digits = 0;
    int points = 0;
    for (char c : body) {
        if (c >= '0' && c <= '9')
            ++digits;
        else if (c == '.')
            ++points;
        else
            return std::nullopt;
    }
    if (digits == 0 || points > 1)
        return std::nullopt;
    return text;
}

template <typename Float>
std::optional<Float> parseFloat(std::string_view text)
{
    const auto number = numberGrammar(text);
    if (!number)
        return std::nullopt;
    std::string_view s = *number;
    bool negative = false;
    if (s.front() == '-' || s.front() == '+') {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    Float value = 0;
    const auto result = std::from_chars(s.data(), s.data() + s.size(), value,
                                        std::chars_format::fixed);
    if (result.ec != std::errc() || result.ptr != s.data() + s.size() || !std::isfinite(value))
        return std::nullopt;
    return negative ? -value : value;
}

} // namespace

std::optional<float> parseSingle(std::string_view text) { return parseFloat<float>(text); }
std::optional<double> parseDouble(std::string_view text) { return parseFloat<double>(text); }

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
