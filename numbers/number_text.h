// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "decimal.h"

namespace kerf {

// Texts of numbers as the cutting program and the result boxes write them.
// None depends on the locale; none has a leading blank.

/// Decimal digits, "-" before negatives («12», «-3»).
std::string integerText(long long value);
/// Rounded to 7 significant digits, in plain form («0.05», «0.0625», «1»).
std::string singleText(float value);
/// Rounded to 15 significant digits, in plain form («0.288675»).
std::string doubleText(double value);
/// The pattern "-#.0": a literal "-", the digits without a leading zero, ".0"
/// («-360.0» for 360, «-.0» for 0).
std::string angleText(long long value);
/// The pattern "#0.0#####": one to six decimals, rounded at the sixth with
/// halves away from zero («1.0», «0.123457», «-0.25»).
std::string lengthText(const Decimal& value);
/// "yyyy/mm/dd" («2004/03/05»).
std::string dateText(std::chrono::year_month_day date);
/// A percentage rounded to two decimals, halves to even, as the shortest text
/// of the double («78.12» for 78.125, «80», «0»).
std::string utilisationText(double percent);

// Reading the texts typed into the boxes (the grammar of number_scan.h). A
// number is an optional sign, digits with at most one point, at least one
// digit («.5», «5.», «+2»); anything else («.», «1.2.3», «», «1e3») is not a
// number. Spaces around it are allowed.

/// The text as a single (correctly rounded); empty when it is no number or
/// lies beyond a single.
std::optional<float> parseSingle(std::string_view text);
/// The text as a double (correctly rounded); empty as for a single.
std::optional<double> parseDouble(std::string_view text);
/// The text as a 16-bit integer, fractions rounded with halves to even
/// («2.5» gives 2, «3.5» gives 4); empty when out of range.
std::optional<std::int16_t> parseInteger16(std::string_view text);

/// Rounds a double to `places` decimals, halves to even (as the result boxes
/// and round6 of doubles do).
double roundHalfEven(double value, int places);

} // namespace kerf
