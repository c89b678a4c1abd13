// SPDX-License-Identifier: GPL-3.0-or-later
#include "program_name_check.h"

#include <algorithm>
#include <cctype>
#include <span>
#include <string>

#include "files/utf8.h"
#include "program/words/command_words.h"

namespace kerf {
namespace {

constexpr std::u32string_view UnfitCharacters = U"<>:\"|?*";

std::span<const std::string_view> subroutineUnits(DieShape shape)
{
    const std::span<const std::string_view> units = SubroutineUnitTexts;
    switch (shape) {
    case DieShape::Circle: return units.first(2);
    case DieShape::Hexagon: return units.subspan(2);
    case DieShape::Square: break;
    }
    return {};
}

GenerationRefusal badName(std::string prompt)
{
    return {std::move(prompt), "檔名錯誤", GenerationBox::Text1};
}

} // namespace

std::optional<GenerationRefusal> checkProgramName(std::string_view name)
{
    // The reader of a program takes the name between the blanks of its PN
    // line; of blanks alone no name is left.
    if (name.find_first_not_of(' ') == std::string_view::npos)
        return GenerationRefusal{"未輸入欲產生的檔名，請輸入檔名。", "未輸入檔名", GenerationBox::Text1};
    const auto points = decodeUtf8(name);
    if (!points)
        return badName("檔名含有無法辨識的文字編碼，請重新輸入檔名。");
    if (points->size() > ProgramNameMaxLength)
        return badName("檔名最多 20 個字元，請縮短檔名。");
    if (std::any_of(points->begin(), points->end(), isControlCharacter))
        return badName("檔名不可含有控制字元（例如定位字元或換行），請修改檔名。");
    if (points->find_first_of(U"/\\") != std::u32string::npos)
        return badName("檔名不可含有「/」或「\\」，請只輸入檔名，不要輸入資料夾路徑。");
    if (name.find("..") != std::string_view::npos)
        return badName("檔名不可含有「..」，請修改檔名。");
    if (points->find_first_of(UnfitCharacters) != std::u32string::npos)
        return badName("檔名不可含有下列字元：< > : \" | ? *，請修改檔名。");
    return std::nullopt;
}

std::optional<GenerationRefusal> checkMainUnitName(std::string_view name, DieShape shape)
{
    const std::span<const std::string_view> units = subroutineUnits(shape);
    const auto blank = [](char c) { return c == ' '; };
    while (!name.empty() && blank(name.front()))
        name.remove_prefix(1);
    while (!name.empty() && blank(name.back()))
        name.remove_suffix(1);
    const auto sameName = [&](std::string_view unit) {
        return std::equal(name.begin(), name.end(), unit.begin(), unit.end(),
                          [](char a, char b) { return std::toupper(static_cast<unsigned char>(a)) == b; });
    };
    if (std::none_of(units.begin(), units.end(), sameName))
        return std::nullopt;
    std::string list;
    for (std::string_view unit : units)
        list += (list.empty() ? "" : "、") + std::string(unit);
    return badName("這個程式的副程式名稱是 " + list + "，檔名不可與它們相同，請改用其他檔名。");
}

} // namespace kerf
