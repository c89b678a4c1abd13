// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/input_checks.h"

#include <string>

#include "numbers/number_text.h"

namespace kerf {
namespace {

Refusal refuse(std::string prompt, InputBox focus)
{
    return {std::move(prompt), std::string(InputErrorTitle), focus};
}

Refusal notANumber(std::string_view text, InputBox box)
{
    const std::string typed = "「" + std::string(text) + "」";
    switch (box) {
    case InputBox::DieSize:
        return refuse("晶粒尺寸" + typed + "不是有效的數值，請輸入以 mil 為單位的數字（例如 50 或 12.5）。", box);
    case InputBox::FineTune:
        return refuse("切割微調值" + typed + "不是有效的數值，請輸入以 mil 為單位的數字（例如 2），或清空此欄。", box);
    case InputBox::EffectiveDiameter:
        return refuse("有效直徑" + typed + "不是有效的數值，請輸入以英吋為單位的數字（例如 1.9），或清空此欄。", box);
    case InputBox::Flats: break;
    }
    return refuse("", box);
}

Refusal negative(InputBox box)
{
    switch (box) {
    case InputBox::DieSize: return refuse("晶粒尺寸不可為負數，請確認正確數值。", box);
    case InputBox::FineTune: return refuse("切割微調值不可為負數，請確認正確數值。", box);
    case InputBox::EffectiveDiameter: return refuse("有效直徑不可為負數，請確認正確數值。", box);
    case InputBox::Flats: break;
    }
    return refuse("", box);
}

template <typename Float>
std::variant<Float, Refusal> readBox(std::string_view text, InputBox box,
                                     std::optional<Float> (*parse)(std::string_view))
{
    const std::optional<Float> value = parse(text);
    if (!value)
        return notANumber(text, box);
    if (*value < 0)
        return negative(box);
    return *value;
}

} // namespace

std::variant<float, Refusal> readSingleBox(std::string_view text, InputBox box)
{
    return readBox<float>(text, box, &parseSingle);
}

std::variant<double, Refusal> readDoubleBox(std::string_view text, InputBox box)
{
    return readBox<double>(text, box, &parseDouble);
}

std::optional<Refusal> refusePastedNumber(std::string_view text, InputBox box)
{
    const auto read = readSingleBox(text, box);
    if (const Refusal* refusal = std::get_if<Refusal>(&read))
        return *refusal;
    if (text.find_first_not_of("0123456789.") != std::string_view::npos)
        return notANumber(text, box); // a number the keys could not type: «1e2», «+5»
    return std::nullopt;
}

std::variant<float, Refusal> readDieSize(std::string_view text)
{
    const auto mil = readSingleBox(text, InputBox::DieSize);
    if (const Refusal* refusal = std::get_if<Refusal>(&mil))
        return *refusal;
    return std::get<float>(mil) / 1000;
}

std::variant<float, Refusal> readEffectiveDiameter(std::string_view text, float waferDiameter)
{
    if (text.empty())
        return waferDiameter;
    return readSingleBox(text, InputBox::EffectiveDiameter);
}

Refusal dieSizeNotPositive()
{
    return refuse("晶粒尺寸必須大於 0，請確認正確數值。", InputBox::DieSize);
}

std::optional<Refusal> refusalFor(LayoutFailure failure)
{
    switch (failure) {
    case LayoutFailure::None:
        return std::nullopt;
    case LayoutFailure::NoPositivePitch:
        return refuse("晶粒尺寸太小，晶粒間距或列距小於 0.000001 英吋，無法排列，請加大晶粒尺寸。",
                      InputBox::DieSize);
    case LayoutFailure::CentreDoesNotFit:
        return refuse("有效直徑太小，連中心的一個晶粒都放不下，請加大有效直徑或縮小晶粒尺寸。",
                      InputBox::DieSize);
    case LayoutFailure::TooManyRows:
        return refuse("晶粒尺寸太小，排列會超過 32767 列，請加大晶粒尺寸。", InputBox::DieSize);
    case LayoutFailure::RowTooLong:
        return refuse("晶粒尺寸太小，一列會超過 32767 個晶粒，請加大晶粒尺寸。", InputBox::DieSize);
    case LayoutFailure::FlatsLeaveNoDie:
        return refuse("平邊的禁切線外已沒有任何晶粒，請確認平邊長度與角度。", InputBox::Flats);
    }
    return std::nullopt;
}

} // namespace kerf
