// SPDX-License-Identifier: GPL-3.0-or-later
#include "program/writer/generation_note.h"

#include <variant>

namespace kerf {

std::optional<std::string> generationNote(DieShape shape, const GenerationTexts& texts)
{
    if (shape != DieShape::Hexagon)
        return std::nullopt; // circles and squares repeat their passes
    const auto machine = ReadGenerationParameters(texts);
    const auto* parameters = std::get_if<MachineParameters>(&machine);
    if (!parameters || parameters->CutCount <= 2)
        return std::nullopt;
    const std::string typed = "切割次數為 " + std::to_string(parameters->CutCount) + "，但六角形的程式";
    const std::string rule = "（奇數的次數都只切一趟單向，偶數的次數都只切一趟來回）。";
    if (parameters->CutCount % 2 != 0)
        return typed + "只切一趟、單向，每個邊切一次" + rule;
    return typed + "只切一趟來回，每個邊切兩次" + rule;
}

} // namespace kerf
