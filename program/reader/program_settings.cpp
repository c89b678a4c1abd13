// SPDX-License-Identifier: GPL-3.0-or-later
#include "program/reader/program_settings.h"

#include <algorithm>
#include <optional>

#include "program/reader/internal/program_lexer.h"
#include "program/words/command_words.h"

namespace kerf {

namespace {

void addValue(SettingValues& values, std::string_view text)
{
    if (std::find(values.texts.begin(), values.texts.end(), text) != values.texts.end())
        return;
    if (values.texts.size() < SettingValuesKept)
        values.texts.emplace_back(text);
    else
        values.more = true;
}

SettingValues* valuesOf(ProgramSettings& settings, std::optional<OperandWord> word)
{
    if (!word)
        return nullptr;
    switch (*word) {
    case OperandWord::DVL: return &settings.DVL;
    case OperandWord::DAC: return &settings.DAC;
    case OperandWord::VEL: return &settings.VEL;
    case OperandWord::ACC: return &settings.ACC;
    default: return nullptr;
    }
}

} // namespace

ProgramSettings programSettings(std::string_view text)
{
    ProgramSettings settings;
    detail::LineWalker lines(text);
    std::vector<std::string_view> tokens;
    for (std::string_view line; lines.next(line);) {
        const std::string_view words = detail::trimmed(line);
        const bool setting = words.starts_with(wordText(CommandWord::SP));
        if (!setting && !(words.starts_with(wordText(CommandWord::MI)) &&
                          words.find(wordText(OperandWord::ARC)) != std::string_view::npos))
            continue;
        detail::splitTokens(words, tokens);
        if (tokens.empty())
            continue;
        const std::optional<CommandWord> command = commandWordOf(tokens[0]);
        if (command == CommandWord::SP) {
            // SP NAME = value
            if (tokens.size() == 4 && tokens[2] == SettingMark)
                if (SettingValues* values = valuesOf(settings, operandWordOf(tokens[1])))
                    addValue(*values, tokens[3]);
        } else if (command == CommandWord::MI) {
            // MI X x Y y ARC a VEL v ACC c: the words after the arc's angle
            for (std::size_t i = 1; i + 1 < tokens.size(); ++i) {
                const std::optional<OperandWord> word = operandWordOf(tokens[i]);
                if (word == OperandWord::VEL || word == OperandWord::ACC)
                    addValue(*valuesOf(settings, word), tokens[++i]);
            }
        }
    }
    return settings;
}

} // namespace kerf
