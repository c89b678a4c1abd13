// SPDX-License-Identifier: GPL-3.0-or-later
#include "program/reader/reading_error_text.h"

#include <cstdint>
#include <string>

#include "files/cp950.h"
#include "files/utf8.h"

namespace kerf {

namespace {

const char* errorWords(ProgramErrorKind kind)
{
    switch (kind) {
    case ProgramErrorKind::Empty: return "程式中沒有任何程式單元";
    case ProgramErrorKind::OutsideUnit: return "程式單元（PN 到 EI）之外有指令";
    case ProgramErrorKind::Preamble: return "PN 之後缺少「DI」與「II」兩行";
    case ProgramErrorKind::UnitNotClosed: return "程式單元沒有以 EI 結束";
    case ProgramErrorKind::EIWithoutPN: return "EI 之前沒有 PN";
    case ProgramErrorKind::DuplicateUnit: return "有兩個同名的程式單元";
    case ProgramErrorKind::UnknownWord: return "無法辨識的指令";
    case ProgramErrorKind::UnknownUnit: return "呼叫了不存在的程式單元";
    case ProgramErrorKind::BadOperands: return "指令的參數缺少、多餘或位置不對";
    case ProgramErrorKind::BadNumber: return "數值無法讀取或超出範圍";
    case ProgramErrorKind::ELWithoutSL: return "EL 之前沒有對應的 SL";
    case ProgramErrorKind::SLWithoutEL: return "SL 沒有對應的 EL";
    case ProgramErrorKind::Recursion: return "程式單元呼叫了自己";
    }
    return "";
}

void appendUtf8(std::string& text, char32_t c)
{
    if (c < 0x80) {
        text += static_cast<char>(c);
    } else if (c < 0x800) {
        text += static_cast<char>(0xC0 | (c >> 6));
        text += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        text += static_cast<char>(0xE0 | (c >> 12));
        text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | (c >> 18));
        text += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Line `line` (1-based) of `text`, without its end and the blanks about it,
// shortened to `most` characters, decoded.
std::string lineOf(std::string_view text, std::uint32_t line, std::size_t most = 40)
{
    std::size_t at = 0;
    for (std::uint32_t n = 1; n < line; ++n) {
        at = text.find('\n', at);
        if (at == std::string_view::npos)
            return {};
        ++at;
    }
    std::string_view rest = text.substr(at);
    rest = rest.substr(0, rest.find('\n'));
    while (!rest.empty() && (rest.back() == '\r' || rest.back() == ' ' || rest.back() == '\t'))
        rest.remove_suffix(1);
    while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t'))
        rest.remove_prefix(1);
    // UTF-8, else the Big5 (CP950) that Traditional Chinese shops type; bytes of neither as «?».
    std::u32string characters;
    if (auto utf8 = decodeUtf8(rest))
        characters = std::move(*utf8);
    else if (const auto big5 = fromCp950(rest); big5 && decodeUtf8(*big5))
        characters = *decodeUtf8(*big5);
    else
        for (const char c : rest)
            characters += static_cast<unsigned char>(c) < 0x80 ? char32_t(c) : U'?';
    std::string shown;
    for (const char32_t c : characters.substr(0, most))
        appendUtf8(shown, isControlCharacter(c) ? U'?' : c);
    return characters.size() > most ? shown + "……" : shown;
}

} // namespace

std::string readingErrorText(const ProgramError& error, std::string_view programText)
{
    const std::string where = error.line > 0 ? "程式第 " + std::to_string(error.line) + " 行無法讀取：" : "程式無法讀取：";
    const std::string line = error.line > 0 ? lineOf(programText, error.line) : std::string();
    return where + errorWords(error.kind) + (line.empty() ? "" : "（「" + line + "」）") + "。";
}

} // namespace kerf
