#include "generation_parameters.h"

#include "codegen/utf8.h"
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

} // namespace

std::variant<MachineParameters, GenerationRefusal> ReadGenerationParameters(const GenerationTexts& texts)
{
    const auto count = readPassCount(texts.passes);
    if (const auto* refusal = std::get_if<GenerationRefusal>(&count))
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
