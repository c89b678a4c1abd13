// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace kerf {

/// Why text could not be put into CP950.
struct Cp950Failure {
    enum class Reason {
        Unrepresentable, // `character` (UTF-8) is the first one the code page cannot hold
        NotUtf8,         // the text is not well-formed UTF-8
        NoConversion,    // the C library offers no CP950 conversion
    };
    Reason reason = Reason::Unrepresentable;
    std::string character;
};

/// UTF-8 text in the Traditional Chinese 8-bit code page CP950, converted
/// by the C library's iconv. ASCII comes through unchanged.
std::variant<std::string, Cp950Failure> toCp950(std::string_view utf8);

/// CP950 text in UTF-8, converted by the C library's iconv; none when the
/// bytes are not CP950 (or there is no conversion).
std::optional<std::string> fromCp950(std::string_view cp950);

} // namespace kerf
