// SPDX-License-Identifier: GPL-3.0-or-later
#include "program/reader/internal/program_lexer.h"

#include <algorithm>
#include <charconv>

#include "numbers/number_scan.h"
#include "program/words/command_words.h"

namespace kerf::detail {

std::string kept(std::string_view text)
{
    constexpr std::size_t Most = 200;
    if (text.size() <= Most)
        return std::string(text);
    std::size_t end = Most;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    return std::string(text.substr(0, end));
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
