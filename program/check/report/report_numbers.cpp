// SPDX-License-Identifier: GPL-3.0-or-later
#include "program/check/report/report_numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace kerf {

std::string countText(std::uint64_t count)
{
    return count >= CountPast ? "超過 9.2×10¹⁸" : std::to_string(count);
}

namespace {

// Room for the largest double written out in full (309 digits) and the
// digits after the point that the report asks for.
constexpr int MostPlaces = 17;
constexpr std::size_t TextRoom = 330;

// A whole number of at most 309 digits, written out in full.
std::string wholeText(double n)
{
    char buffer[TextRoom];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, n, std::chars_format::fixed, 0);
    return std::string(buffer, result.ptr);
}

// A whole number of at least two digits: 0 to 9 with a leading zero.
std::string twoDigits(double n)
{
    char buffer[TextRoom + 1];
    char* digits = buffer;
    if (n < 10)
        *digits++ = '0';
    const auto result = std::to_chars(digits, buffer + sizeof buffer, n, std::chars_format::fixed, 0);
    return std::string(buffer, result.ptr);
}

} // namespace

std::string inchesText(double inches, int places)
{
    if (!std::isfinite(inches))
        return "—";
    places = std::clamp(places, 0, MostPlaces);
    char buffer[TextRoom];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, inches, std::chars_format::fixed, places);
    std::string text(buffer, result.ptr);
    // A small negative value rounds to all zeros: it shows as zero, not "-0.000".
    if (text.front() == '-' && text.find_first_not_of("0.", 1) == std::string::npos)
        text.erase(0, 1);
    return text;
}

std::string durationText(double seconds)
{
    if (!std::isfinite(seconds) || seconds < 0)
        return "—";
    if (seconds < 59.95) {
        char buffer[32];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, seconds, std::chars_format::fixed, 1);
        return std::string(buffer, result.ptr) + " 秒";
    }
    // In doubles, which hold every whole second of a time this long exactly
    // and do not overflow for any time at all.
    const double whole = std::round(seconds);
    const double hours = std::floor(whole / 3600);
    const double minutes = std::fmod(std::floor(whole / 60), 60);
    const std::string secondsText = twoDigits(std::fmod(whole, 60)) + " 秒";
    if (hours == 0)
        return wholeText(minutes) + " 分 " + secondsText;
    return wholeText(hours) + " 小時 " + twoDigits(minutes) + " 分 " + secondsText;
}

} // namespace kerf
