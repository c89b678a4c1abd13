// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/flat_checks.h"

#include <optional>
#include <string>

#include "numbers/number_text.h"

namespace kerf {
namespace {

constexpr double MillimetresPerInch = 25.4;

Refusal refuse(std::string prompt)
{
    return {std::move(prompt), std::string(InputErrorTitle), InputBox::Flats};
}

// A length box: no flat when empty or 0, else its length in mm.
std::variant<std::optional<double>, Refusal> readLength(const std::string& text, const std::string& box,
                                                        float waferDiameter)
{
    if (text.empty())
        return std::nullopt;
    const std::optional<double> value = parseDouble(text);
    if (!value)
        return refuse(box + "「" + text + "」不是有效的數值，請輸入以公釐為單位的數字（例如 32.5），或清空此欄。");
    if (*value < 0)
        return refuse(box + "不可為負數，請確認正確數值。");
    if (*value > double(waferDiameter) * MillimetresPerInch)
        return refuse(box + "大於晶片直徑，請確認正確數值。");
    if (*value == 0)
        return std::nullopt;
    return *value;
}

// An angle box in degrees; empty gives none.
std::variant<std::optional<double>, Refusal> readAngle(const std::string& text, const std::string& box)
{
    if (text.empty())
        return std::nullopt;
    const std::optional<double> value = parseDouble(text);
    if (!value)
        return refuse(box + "「" + text + "」不是有效的數值，請輸入以度為單位的數字（例如 270 為 6 點鐘方向）。");
    return *value;
}

} // namespace

std::variant<WaferFlats, Refusal> readFlats(const FlatTexts& texts, float waferDiameter)
{
    const auto length = readLength(texts.length, "主平邊長度", waferDiameter);
    if (const Refusal* refusal = std::get_if<Refusal>(&length))
        return *refusal;
    const auto at = readAngle(texts.at, "主平邊角度");
    if (const Refusal* refusal = std::get_if<Refusal>(&at))
        return *refusal;
    const auto secondLength = readLength(texts.secondLength, "次平邊長度", waferDiameter);
    if (const Refusal* refusal = std::get_if<Refusal>(&secondLength))
        return *refusal;
    const auto secondAt = readAngle(texts.secondAt, "次平邊角度");
    if (const Refusal* refusal = std::get_if<Refusal>(&secondAt))
        return *refusal;

    WaferFlats flats;
    if (const auto& l = std::get<std::optional<double>>(length))
        flats.primary = Flat{*l, std::get<std::optional<double>>(at).value_or(DefaultFlatAngle)};
    if (const auto& l = std::get<std::optional<double>>(secondLength)) {
        const auto& a = std::get<std::optional<double>>(secondAt);
        if (!a)
            return refuse("次平邊角度未填：有次平邊長度時請輸入次平邊角度（例如 180）。");
        flats.secondary = Flat{*l, *a};
    }
    return flats;
}

} // namespace kerf
