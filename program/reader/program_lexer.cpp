// SPDX-License-Identifier: GPL-3.0-or-later
#include "program/reader/internal/program_lexer.h"

#include <algorithm>
#include <charconv>

#include "numbers/number_scan.h"
#include "program/words/command_words.h"

namespace kerf::detail {

std::string quoted(std::string_view token)
{
    constexpr std::size_t Shown = 40;
    std::string out = "'";
    for (std::size_t i = 0; i < token.size() && i < Shown; ++i) {
        const auto c = static_cast<unsigned char>(token[i]);
        if (c >= 0x20 && c < 0x7f) {
            out += static_cast<char>(c);
        } else {
            constexpr char hex[] = "0123456789ABCDEF";
            out += "\\x";
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    if (token.size() > Shown)
        out += "...";
    return out + "'";
}

// The program writes no "+", and its tokens hold no blanks.
constexpr NumberGrammar ProgramGrammar{.plusSign = false, .surroundingSpaces = false};

NumberRead readNumber(std::string_view token, double& value)
{
    const auto number = scanNumber(token, ProgramGrammar);
    if (!number)
        return NumberRead::NotNumber;
    const auto read = toDouble(*number);
    if (!read)
        return NumberRead::OutOfRange;
    value = *read;
    return NumberRead::Ok;
}

std::optional<std::uint64_t> readWhole(std::string_view token)
{
    if (token.empty() || !std::all_of(token.begin(), token.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    std::uint64_t value = 0;
    const auto [end, ec] = std::from_chars(token.data(), token.data() + token.size(), value);
    if (ec != std::errc() || end != token.data() + token.size())
        return std::nullopt;
    return value;
}

bool looksNumeric(std::string_view token)
{
    return !token.empty() && (token[0] == '-' || token[0] == '+' || token[0] == '.' ||
                              (token[0] >= '0' && token[0] <= '9'));
}

std::string_view unitNameOf(std::string_view line)
{
    std::string_view rest = trimmed(line);
    rest.remove_prefix(wordText(CommandWord::PN).size());
    return trimmed(rest);
}

} // namespace kerf::detail
