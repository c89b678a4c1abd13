// SPDX-License-Identifier: GPL-3.0-or-later
// Every refusal of the reader with its line, kind and exact words: the
// texts a user reads in the preview window and from `kerfwright-cli check`.
#include <gtest/gtest.h>

#include <string>

#include "program/reader/program_reader.h"
#include "program/reader/reading_error_text.h"

using namespace kerf;

namespace {

struct MessageCase {
    const char* name;
    const char* text;
    std::uint32_t line;
    ProgramErrorKind kind;
    const char* words; // what is wrong, as the line's refusal says it
};

using K = ProgramErrorKind;

const MessageCase MessageCases[] = {
    {"EmptyText", "", 1, K::Empty,
     "程式中沒有任何程式單元"},
    {"OnlyBlankLines", "\r\n\r\n", 2, K::Empty,
     "程式中沒有任何程式單元"},
    {"WordBeforeAnyUnit", "OS\r\n", 1, K::OutsideUnit,
     "程式單元（PN 到 EI）之外有指令「OS」"},
    {"CommentOutsideUnits", "PN MAIN\nDI 1 10000\nII\nEI\n# after\n", 5, K::OutsideUnit,
     "程式單元（PN 到 EI）之外有註解"},
    {"EIWithoutPN", "PN MAIN\nDI 1 10000\nII\nEI\nEI\n", 5, K::EIWithoutPN,
     "EI 之前沒有 PN"},
    {"NoDI", "PN A\nII\nEI\n", 2, K::Preamble,
     "程式單元「A」的 PN 之後應為「DI 1 10000」"},
    {"DIWithoutNumbers", "PN A\nDI 1 X\nII\nEI\n", 2, K::Preamble,
     "程式單元「A」的 PN 之後應為「DI 1 10000」"},
    {"NoII", "PN A\nDI 1 10000\nOS\nEI\n", 3, K::Preamble,
     "程式單元「A」的 DI 之後應為「II」"},
    {"DIInTheBody", "PN A\nDI 1 10000\nII\nDI 1 10000\nEI\n", 4, K::Preamble,
     "「DI」只能寫在程式單元開頭，緊接在 PN 之後"},
    {"IIInTheBody", "PN A\nDI 1 10000\nII\nII\nEI\n", 4, K::Preamble,
     "「II」只能寫在程式單元開頭，緊接在 PN 之後"},
    {"PNWithoutName", "PN\nDI 1 10000\nII\nEI\n", 1, K::BadOperands,
     "PN 之後缺少程式單元的名稱"},
    {"PNWithoutEI", "PN A\nDI 1 10000\nII\nOS\n", 1, K::UnitNotClosed,
     "程式單元「A」沒有以 EI 結束"},
    {"PNInsideAUnit", "PN A\nDI 1 10000\nII\nOS\nPN B\nDI 1 10000\nII\nEI\n", 5, K::UnitNotClosed,
     "程式單元「A」（第 1 行起）還沒有以 EI 結束，又出現 PN"},
    {"EIWithOperand", "PN A\nDI 1 10000\nII\nEI X\n", 4, K::BadOperands,
     "「EI」不帶參數，卻有「X」"},
    {"UnitNamedTwice", "PN A\nDI 1 10000\nII\nEI\n\nPN A\nDI 1 10000\nII\nEI\n", 6, K::DuplicateUnit,
     "有兩個同名的程式單元「A」（第一個在第 1 行）"},
    {"UnknownWord", "PN A\nDI 1 10000\nII\nOS\nMOVE X 1\nEI\n", 5, K::UnknownWord,
     "無法辨識的指令「MOVE」"},
    {"CallOfAMissingUnit", "PN A\nDI 1 10000\nII\nSL 2\nCIR3\nEL\nEI\n", 5, K::UnknownUnit,
     "呼叫了不存在的程式單元「CIR3」"},
    {"MoveWithoutAxis", "PN A\nDI 1 10000\nII\nMA\nEI\n", 4, K::BadOperands,
     "「MA」缺少 X 或 Y"},
    {"MoveWithUnknownAxis", "PN A\nDI 1 10000\nII\nMA Z 1\nEI\n", 4, K::BadOperands,
     "「MA」缺少 X 或 Y，卻是「Z」"},
    {"ClauseWithUnknownWord", "PN A\nDI 1 10000\nII\nMA X 1 Z 1\nEI\n", 4, K::BadOperands,
     "移動指令中應為 X、Y、ARC 或另一個 MA、MI，卻是「Z」"},
    {"MoveWithoutNumber", "PN A\nDI 1 10000\nII\nMA X\nEI\n", 4, K::BadOperands,
     "「X」之後缺少數值"},
    {"AxisTwice", "PN A\nDI 1 10000\nII\nMI X 1 X 2\nEI\n", 4, K::BadOperands,
     "同一個「MI」中「X」出現兩次"},
    {"SecondClauseWithoutAxis", "PN A\nDI 1 10000\nII\nMA X 1 MI\nEI\n", 4, K::BadOperands,
     "「MI」缺少 X 或 Y"},
    {"ArcWithAbsoluteMove", "PN A\nDI 1 10000\nII\nMA X 1 Y 0 ARC -360.0\nEI\n", 4, K::BadOperands,
     "ARC 只能接在 MI 之後（MI 的位移是圓弧的圓心）"},
    {"ArcWithoutAngle", "PN A\nDI 1 10000\nII\nMI X 1 Y 0.0 ARC\nEI\n", 4, K::BadOperands,
     "「ARC」之後缺少數值"},
    {"ArcThenMore", "PN A\nDI 1 10000\nII\nMI X 1 Y 0.0 ARC -360.0 VEL 1 ACC 1 MI X 1\nEI\n", 4, K::BadOperands,
     "圓弧之後不應再有「MI」"},
    {"ArcSpeedTwice", "PN A\nDI 1 10000\nII\nMI X 1 Y 0.0 ARC -360.0 VEL 1 VEL 1\nEI\n", 4, K::BadOperands,
     "圓弧之後不應再有「VEL」"},
    {"OpenWithOperand", "PN A\nDI 1 10000\nII\nOS 1\nEI\n", 4, K::BadOperands,
     "「OS」不帶參數，卻有「1」"},
    {"QuietWordWithOperand", "PN A\nDI 1 10000\nII\nZERO X\nEI\n", 4, K::BadOperands,
     "「ZERO」不帶參數，卻有「X」"},
    {"WaitWithoutNumber", "PN A\nDI 1 10000\nII\nWT\nEI\n", 4, K::BadOperands,
     "「WT」之後缺少數值"},
    {"WaitWithTwoNumbers", "PN A\nDI 1 10000\nII\nWT 1 2\nEI\n", 4, K::BadOperands,
     "「WT」只帶一個數值，多了「2」"},
    {"NegativeWait", "PN A\nDI 1 10000\nII\nWT -0.1\nEI\n", 4, K::BadNumber,
     "等待時間不能是負數「-0.1」"},
    {"SetWithoutEquals", "PN A\nDI 1 10000\nII\nSP DVL 0.6\nEI\n", 4, K::BadOperands,
     "SP 的寫法應為「SP 名稱 = 數值」"},
    {"SetOfANumber", "PN A\nDI 1 10000\nII\nSP 1 = 0.6\nEI\n", 4, K::BadOperands,
     "SP 的寫法應為「SP 名稱 = 數值」"},
    {"SetWithText", "PN A\nDI 1 10000\nII\nSP DVL = abc\nEI\n", 4, K::BadOperands,
     "「SP DVL =」之後應為數值，卻是「abc」"},
    {"SetWithoutValue", "PN A\nDI 1 10000\nII\nSP DVL =\nEI\n", 4, K::BadOperands,
     "「SP DVL =」之後缺少數值"},
    {"SetWithTwoValues", "PN A\nDI 1 10000\nII\nSP DVL = 1 2\nEI\n", 4, K::BadOperands,
     "「SP」只帶一個數值，多了「2」"},
    {"DPAlone", "PN A\nDI 1 10000\nII\nDP\nEI\n", 4, K::BadOperands,
     "DP 的寫法應為「DP 名稱」，如「DP TIM」"},
    {"RepeatWithoutCount", "PN A\nDI 1 10000\nII\nSL\nEL\nEI\n", 4, K::BadOperands,
     "SL 之後應為一個重複次數"},
    {"RepeatOfZero", "PN A\nDI 1 10000\nII\nSL 0\nEL\nEI\n", 4, K::BadNumber,
     "重複次數必須在 1 到 4294967295 之間，卻是「0」"},
    {"RepeatOfHalf", "PN A\nDI 1 10000\nII\nSL 2.5\nEL\nEI\n", 4, K::BadNumber,
     "重複次數「2.5」不是整數"},
    {"RepeatTooLarge", "PN A\nDI 1 10000\nII\nSL 99999999999\nEL\nEI\n", 4, K::BadNumber,
     "重複次數必須在 1 到 4294967295 之間，卻是「99999999999」"},
    {"EndWithOperand", "PN A\nDI 1 10000\nII\nSL 2\nEL 2\nEI\n", 5, K::BadOperands,
     "「EL」不帶參數，卻有「2」"},
    {"ELWithoutSL", "PN A\nDI 1 10000\nII\nOS\nEL\nEI\n", 5, K::ELWithoutSL,
     "EL 之前沒有對應的 SL（程式單元「A」）"},
    {"SLWithoutEL", "PN A\nDI 1 10000\nII\nSL 3\nMI X 1\nSL 2\nMI Y 1\nEL\nMI X 2\nEI\n", 4, K::SLWithoutEL,
     "SL 沒有對應的 EL（程式單元「A」在第 10 行結束）"},
    {"Recursion", "PN A\nDI 1 10000\nII\nB\nEI\nPN B\nDI 1 10000\nII\nMI X 1\nA\nEI\nPN MAIN\nDI 1 10000\nII\nA\nEI\n", 10, K::Recursion,
     "呼叫程式單元「A」時它仍在執行，形成循環呼叫"},
    {"SelfCall", "PN A\nDI 1 10000\nII\nMI X 1\nA\nEI\nPN MAIN\nDI 1 10000\nII\nEI\n", 5, K::Recursion,
     "程式單元「A」呼叫了自己"},
    {"LongWord", "PN A\nDI 1 10000\nII\nABCDEFGHIJABCDEFGHIJABCDEFGHIJABCDEFGHIJABCDEFGHIJ X\nEI\n", 4, K::UnknownWord,
     "無法辨識的指令「ABCDEFGHIJABCDEFGHIJABCDEFGHIJABCDEFGHIJ……」"},
};

} // namespace

TEST(ProgramMessages, EachRefusalSaysWhatIsWrongAtItsLine)
{
    for (const MessageCase& c : MessageCases) {
        const auto parsed = parseProgram(c.text);
        const auto* error = std::get_if<ProgramError>(&parsed);
        ASSERT_NE(error, nullptr) << c.name;
        EXPECT_EQ(error->line, c.line) << c.name;
        EXPECT_EQ(error->kind, c.kind) << c.name;
        EXPECT_EQ(readingErrorText(*error), "程式第 " + std::to_string(c.line) + " 行無法讀取：" + c.words + "。")
            << c.name;
    }
}
