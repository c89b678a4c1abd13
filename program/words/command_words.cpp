// SPDX-License-Identifier: GPL-3.0-or-later
#include "command_words.h"

namespace kerf {
namespace {

/// The words of a table grouped by their first letter, so that a token is
/// compared only with the few words that begin as it does (every line of a
/// program is looked up).
template <std::size_t N>
struct WordIndex {
    static constexpr std::size_t MostPerLetter = 4;
    std::array<std::array<std::uint8_t, MostPerLetter>, 26> words{};
    std::array<std::uint8_t, 26> counts{};

    constexpr explicit WordIndex(const std::array<std::string_view, N>& texts)
    {
        for (std::size_t i = 0; i < N; ++i) {
            const std::size_t letter = static_cast<std::size_t>(texts[i][0] - 'A');
            if (letter >= 26 || counts[letter] == MostPerLetter)
                throw "a word must begin with a capital letter, at most four words per letter";
            words[letter][counts[letter]++] = static_cast<std::uint8_t>(i);
        }
    }
};

template <typename Word, std::size_t N>
std::optional<Word> wordOf(const std::array<std::string_view, N>& texts, const WordIndex<N>& index,
                           std::string_view token)
{
    if (token.empty())
        return std::nullopt;
    const auto letter = static_cast<std::size_t>(static_cast<unsigned char>(token[0]) - 'A');
    if (letter >= 26)
        return std::nullopt;
    for (std::size_t k = 0; k < index.counts[letter]; ++k) {
        const std::uint8_t i = index.words[letter][k];
        if (texts[i] == token)
            return static_cast<Word>(i);
    }
    return std::nullopt;
}

constexpr WordIndex<CommandWordTexts.size()> CommandWordIndex(CommandWordTexts);
constexpr WordIndex<OperandWordTexts.size()> OperandWordIndex(OperandWordTexts);

} // namespace

std::optional<CommandWord> commandWordOf(std::string_view token)
{
    return wordOf<CommandWord>(CommandWordTexts, CommandWordIndex, token);
}

std::optional<OperandWord> operandWordOf(std::string_view token)
{
    return wordOf<OperandWord>(OperandWordTexts, OperandWordIndex, token);
}

} // namespace kerf
