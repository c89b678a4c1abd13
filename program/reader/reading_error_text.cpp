// SPDX-License-Identifier: GPL-3.0-or-later
#include "program/reader/reading_error_text.h"

#include <cstdint>
#include <string>

#include "files/cp950.h"
#include "files/utf8.h"

namespace kerf {

namespace {

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

// Program bytes as a message shows them: decoded, cut short to `most` characters.
std::string shown(std::string_view bytes, std::size_t most = 40)
{
    // UTF-8, else the Big5 (CP950) that Traditional Chinese shops type; bytes of neither as «?».
    std::u32string characters;
    if (auto utf8 = decodeUtf8(bytes))
        characters = std::move(*utf8);
    else if (const auto big5 = fromCp950(bytes); big5 && decodeUtf8(*big5))
        characters = *decodeUtf8(*big5);
    else
        for (const char c : bytes)
            characters += static_cast<unsigned char>(c) < 0x80 ? char32_t(c) : U'?';
    std::string out;
    for (const char32_t c : characters.substr(0, most))
        appendUtf8(out, isControlCharacter(c) ? U'?' : c);
    return characters.size() > most ? out + "……" : out;
}

// Line `line` (1-based) of `text`, without its end and the blanks about it, as shown.
std::string lineOf(std::string_view text, std::uint32_t line)
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
    return shown(rest);
}

// A word or name of the program quoted: «「FOO」».
std::string quoted(std::string_view bytes)
{
    return "「" + shown(bytes) + "」";
}

// What is wrong, with the words and lines the refusal names.
std::string faultWords(const ProgramError& e)
{
    const std::string word = quoted(e.word);
    const std::string found = quoted(e.found);
    const std::string unit = "程式單元" + quoted(e.unit);
    const std::string other = "第 " + std::to_string(e.otherLine) + " 行";
    switch (e.fault) {
    case ProgramFault::NoUnit: return "程式中沒有任何程式單元";
    case ProgramFault::WordOutsideUnit: return "程式單元（PN 到 EI）之外有指令" + found;
    case ProgramFault::CommentOutsideUnit: return "程式單元（PN 到 EI）之外有註解";
    case ProgramFault::NoDI: return unit + "的 PN 之後應為「DI 1 10000」";
    case ProgramFault::NoII: return unit + "的 DI 之後應為「II」";
    case ProgramFault::PreambleInBody: return word + "只能寫在程式單元開頭，緊接在 PN 之後";
    case ProgramFault::NoEI: return unit + "沒有以 EI 結束";
    case ProgramFault::PNInsideUnit: return unit + "（" + other + "起）還沒有以 EI 結束，又出現 PN";
    case ProgramFault::EIWithoutPN: return "EI 之前沒有 PN";
    case ProgramFault::SecondUnit: return "有兩個同名的" + unit + "（第一個在" + other + "）";
    case ProgramFault::UnknownWord: return "無法辨識的指令" + found;
    case ProgramFault::UnknownUnit: return "呼叫了不存在的程式單元" + found;
    case ProgramFault::NoUnitName: return "PN 之後缺少程式單元的名稱";
    case ProgramFault::NoOperands: return word + "不帶參數，卻有" + found;
    case ProgramFault::NumberMissing: return word + "之後缺少數值";
    case ProgramFault::NumberExpected: return word + "之後應為數值，卻是" + found;
    case ProgramFault::ExtraNumber: return word + "只帶一個數值，多了" + found;
    case ProgramFault::SettingForm: return "SP 的寫法應為「SP 名稱 = 數值」";
    case ProgramFault::DisplayForm: return "DP 的寫法應為「DP 名稱」，如「DP TIM」";
    case ProgramFault::MoveExpected: return "移動指令中應為 X、Y、ARC 或另一個 MA、MI，卻是" + found;
    case ProgramFault::AxisTwice: return "同一個" + word + "中" + found + "出現兩次";
    case ProgramFault::NoAxis: return word + "缺少 X 或 Y" + (e.found.empty() ? "" : "，卻是" + found);
    case ProgramFault::ArcAfterMA: return "ARC 只能接在 MI 之後（MI 的位移是圓弧的圓心）";
    case ProgramFault::AfterArc: return "圓弧之後不應再有" + found;
    case ProgramFault::RepeatCountForm: return "SL 之後應為一個重複次數";
    case ProgramFault::NotNumber: return found + "不是數值";
    case ProgramFault::OutOfRange: return "數值" + found + "超出範圍";
    case ProgramFault::NegativeWait: return "等待時間不能是負數" + found;
    case ProgramFault::RepeatNotWhole: return "重複次數" + found + "不是整數";
    case ProgramFault::RepeatOutOfRange: return "重複次數必須在 1 到 4294967295 之間，卻是" + found;
    case ProgramFault::ELWithoutSL: return "EL 之前沒有對應的 SL（" + unit + "）";
    case ProgramFault::SLWithoutEL: return "SL 沒有對應的 EL（" + unit + "在" + other + "結束）";
    case ProgramFault::CallsItself: return unit + "呼叫了自己";
    case ProgramFault::CallRecurses: return "呼叫" + unit + "時它仍在執行，形成循環呼叫";
    }
    return "";
}

} // namespace

std::string readingErrorText(const ProgramError& error, std::string_view programText)
{
    const std::string where = error.line > 0 ? "程式第 " + std::to_string(error.line) + " 行無法讀取：" : "程式無法讀取：";
    const std::string line = error.line > 0 ? lineOf(programText, error.line) : std::string();
    return where + faultWords(error) + (line.empty() ? "" : "（「" + line + "」）") + "。";
}

} // namespace kerf
