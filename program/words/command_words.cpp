// SPDX-License-Identifier: GPL-3.0-or-later
#include "command_words.h"

namespace kerf {
namespace {

template <typename Word, std::size_t N>
std::optional<Word> wordOf(const std::array<std::string_view, N>& texts, std::string_view token)
{
    for (std::size_t i = 0; i < N; ++i)
        if (texts[i] == token)
            return static_cast<Word>(i);
    return std::nullopt;
}

} // namespace

std::optional<CommandWord> commandWordOf(std::string_view token)
{
    return wordOf<CommandWord>(CommandWordTexts, token);
}

std::optional<OperandWord> operandWordOf(std::string_view token)
{
    return wordOf<OperandWord>(OperandWordTexts, token);
}

} // namespace kerf
