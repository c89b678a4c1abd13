// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string_view>

namespace kerf {

// The one grammar of plain decimal numbers that every reader of numbers
// shares (the boxes' texts, exact decimals, the cutting program's operands):
// an optional sign, digits with at most one point, at least one digit
// («2», «-0.05», «.5», «5.», «007»). Never an exponent, a thousands
// separator, a decimal comma, "inf" or "nan"; digits are ASCII and the locale
// plays no part. Any number of digits is read; the reader of the value says
// what lies in its range.
//
// Where the readers differ, an option of NumberGrammar says so:
//   reader                        plusSign  surroundingSpaces
//   the boxes (parseSingle, ...)  yes       yes
//   Decimal::parse                yes       no
//   the cutting program           no        no (its tokens hold no blanks)

struct NumberGrammar {
    /// A "+" may lead as a "-" may. The program writes only "-", and reads
    /// "+1" as no number.
    bool plusSign = true;
    /// Spaces (not tabs) may stand before and after the number.
    bool surroundingSpaces = false;
};

/// The parts of a text that is a number.
struct ScannedNumber {
    bool negative = false;
    /// The number without its sign and spaces: digits and at most one point
    /// ("12.5", ".5", "5.").
    std::string_view unsignedText;
    std::string_view whole;    // the digits before the point; empty in ".5"
    std::string_view fraction; // the digits after it; empty in "5." and "5"
};

/// The parts of `text` when it is a number in `grammar`, else empty.
std::optional<ScannedNumber> scanNumber(std::string_view text, NumberGrammar grammar);

/// The nearest double to the number (correctly rounded, "-0" is -0.0); empty
/// when the value lies beyond a double: too large, or too small to be told
/// from zero.
std::optional<double> toDouble(const ScannedNumber& number);
/// The same for a single.
std::optional<float> toSingle(const ScannedNumber& number);

} // namespace kerf
