// SPDX-License-Identifier: GPL-3.0-or-later
#include "program_lines.h"

#include "numbers/number_text.h"

namespace kerf {
namespace {

std::string_view partText(std::string_view text)
{
    return text;
}

std::string_view partText(CommandWord word)
{
    return wordText(word);
}

std::string_view partText(OperandWord word)
{
    return wordText(word);
}

// The words and operands of a line, one blank between each two.
template <typename... Parts>
std::string joined(const Parts&... parts)
{
    const std::string_view texts[] = {partText(parts)...};
    std::size_t size = sizeof...(Parts) - 1;
    for (std::string_view text : texts)
        size += text.size();
    std::string line;
    line.reserve(size);
    line.append(texts[0]);
    for (std::size_t i = 1; i < sizeof...(Parts); ++i) {
        line.push_back(' ');
        line.append(texts[i]);
    }
    return line;
}

} // namespace

std::array<std::string, 3> unitOpeningLines(std::string_view name)
{
    return {joined(CommandWord::PN, name), joined(CommandWord::DI, "1", "10000"),
            std::string(wordText(CommandWord::II))};
}

std::string_view unitCallLine(std::string_view name)
{
    return name;
}

std::string commentLine(std::string_view text)
{
    return joined(std::string_view(&CommentMark, 1), text);
}

std::string settingLine(OperandWord name, std::string_view value)
{
    return joined(CommandWord::SP, name, SettingMark, value);
}

std::string displayLine(OperandWord name)
{
    return joined(CommandWord::DP, name);
}

std::string waitLine(std::string_view seconds)
{
    return joined(CommandWord::WT, seconds);
}

std::string repeatLine(long long count)
{
    return joined(CommandWord::SL, integerText(count));
}

std::string absoluteMove(std::string_view x, std::string_view y)
{
    return joined(CommandWord::MA, OperandWord::X, x, OperandWord::Y, y);
}

std::string absoluteMoveByAxes(std::string_view x, std::string_view y)
{
    return joined(CommandWord::MA, OperandWord::X, x, CommandWord::MA, OperandWord::Y, y);
}

std::string relativeMove(std::string_view x, std::string_view y)
{
    return joined(CommandWord::MI, OperandWord::X, x, OperandWord::Y, y);
}

std::string relativeMoveX(std::string_view x)
{
    return joined(CommandWord::MI, OperandWord::X, x);
}

std::string relativeMoveY(std::string_view y)
{
    return joined(CommandWord::MI, OperandWord::Y, y);
}

std::string arcMove(std::string_view x, std::string_view y, std::string_view angle, std::string_view speed,
                    std::string_view acceleration)
{
    return joined(CommandWord::MI, OperandWord::X, x, OperandWord::Y, y, OperandWord::ARC, angle, OperandWord::VEL,
                   speed, OperandWord::ACC, acceleration);
}

} // namespace kerf
