#include "program_name_check.h"

#include <algorithm>

#include "codegen/utf8.h"

namespace kerf {
namespace {

constexpr std::u32string_view kUnfitCharacters = U"<>:\"|?*";

bool isControl(char32_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

GenerationRefusal badName(std::string prompt)
{
    return {std::move(prompt), "檔名錯誤", GenerationBox::Text1};
}

} // namespace

std::optional<GenerationRefusal> checkProgramName(std::string_view name)
{
    if (name.empty())
        return GenerationRefusal{"未輸入欲產生的檔名，請輸入檔名。", "未輸入檔名", GenerationBox::Text1};
    const auto points = decodeUtf8(name);
    if (!points)
        return badName("檔名含有無法辨識的文字編碼，請重新輸入檔名。");
    if (points->size() > ProgramNameMaxLength)
        return badName("檔名最多 20 個字元，請縮短檔名。");
    if (std::any_of(points->begin(), points->end(), isControl))
        return badName("檔名不可含有控制字元（例如定位字元或換行），請修改檔名。");
    if (points->find_first_of(U"/\\") != std::u32string::npos)
        return badName("檔名不可含有「/」或「\\」，請只輸入檔名，不要輸入資料夾路徑。");
    if (name.find("..") != std::string_view::npos)
        return badName("檔名不可含有「..」，請修改檔名。");
    if (points->find_first_of(kUnfitCharacters) != std::u32string::npos)
        return badName("檔名不可含有下列字元：< > : \" | ? *，請修改檔名。");
    return std::nullopt;
}

} // namespace kerf
