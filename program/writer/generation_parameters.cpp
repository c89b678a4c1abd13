// SPDX-License-Identifier: GPL-3.0-or-later
#include "generation_parameters.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "files/utf8.h"
#include "numbers/number_text.h"

namespace kerf {
namespace {

GenerationRefusal badPassCount(std::string prompt)
{
    return {std::move(prompt), "輸入數值錯誤", GenerationBox::Text2};
}

std::variant<std::int16_t, GenerationRefusal> readPassCount(const std::string& text)
{
    if (text.empty())
        return std::int16_t{1};
    const auto points = decodeUtf8(text);
    if (points && points->size() > PassCountMaxLength)
        return badPassCount("切割次數最多 3 個字元，請輸入 1 到 999 之間的整數。");
    const auto count = parseInteger16(text);
    if (!count)
        return badPassCount("切割次數不是數字，請輸入 1 到 999 之間的整數。");
    if (*count < 1)
        return badPassCount("切割次數至少要 1 次，請輸入 1 到 999 之間的整數。");
    return *count;
}

// The machine reads its parameters as plain numbers: «0.6», «6», «.5», «-1.».
bool isPlainNumber(std::string_view text)
{
    if (!text.empty() && text.front() == '-')
        text.remove_prefix(1);
    const auto digits = std::count_if(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    const auto points = std::count(text.begin(), text.end(), '.');
    return digits > 0 && points <= 1 && digits + points == static_cast<std::ptrdiff_t>(text.size());
}

struct MachineBox {
    const std::string* text;
    const char* name;
    const char* example;
    GenerationBox box;
};

std::optional<GenerationRefusal> badMachineParameter(const MachineBox& b)
{
    if (b.text->empty() || isPlainNumber(*b.text))
        return std::nullopt;
    return GenerationRefusal{std::string(b.name) + " 必須是數字（例如 " + b.example + "），不可含有空格或其他文字，請修改。",
                             "輸入數值錯誤", b.box};
}

} // namespace

std::variant<MachineParameters, GenerationRefusal> ReadGenerationParameters(const GenerationTexts& texts)
{
    const auto count = readPassCount(texts.passes);
    if (const auto* refusal = std::get_if<GenerationRefusal>(&count))
        return *refusal;
    for (const MachineBox& box : {MachineBox{&texts.DVL, "DVL", "0.6", GenerationBox::Text3},
                                  MachineBox{&texts.DAC, "DAC", "6.0", GenerationBox::Text4},
                                  MachineBox{&texts.VEL, "VEL", "0.6", GenerationBox::Text5},
                                  MachineBox{&texts.ACC, "ACC", "6.0", GenerationBox::Text6}})
        if (auto refusal = badMachineParameter(box))
            return *refusal;
    MachineParameters parameters;
    parameters.CutCount = std::get<std::int16_t>(count);
    parameters.DVL = texts.DVL.empty() ? "0.6" : texts.DVL;
    parameters.DAC = texts.DAC.empty() ? "6.0" : texts.DAC;
    parameters.VEL = texts.VEL.empty() ? parameters.DVL : texts.VEL;
    parameters.ACC = texts.ACC.empty() ? parameters.DAC : texts.ACC;
    return parameters;
}

} // namespace kerf
