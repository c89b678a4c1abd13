// SPDX-License-Identifier: GPL-3.0-or-later
// Every refusal of the reader with its line, kind and exact message: the
// texts a user reads in the preview window and from `kerfwright-cli check`.
#include <gtest/gtest.h>

#include <string>

#include "program/reader/program_reader.h"

using namespace kerf;

namespace {

struct MessageCase {
    const char* name;
    const char* text;
    std::uint32_t line;
    ProgramErrorKind kind;
    const char* message;
};

using K = ProgramErrorKind;

const MessageCase MessageCases[] = {
    {"EmptyText", "", 1, K::Empty,
     "the text holds no program unit (PN ... EI)"},
    {"OnlyBlankLines", "\r\n\r\n", 2, K::Empty,
     "the text holds no program unit (PN ... EI)"},
    {"WordBeforeAnyUnit", "OS\r\n", 1, K::OutsideUnit,
     "'OS' outside any program unit (PN ... EI)"},
    {"CommentOutsideUnits", "PN MAIN\nDI 1 10000\nII\nEI\n# after\n", 5, K::OutsideUnit,
     "a comment outside any program unit (PN ... EI)"},
    {"EIWithoutPN", "PN MAIN\nDI 1 10000\nII\nEI\nEI\n", 5, K::EIWithoutPN,
     "EI without a PN that opened a unit"},
    {"NoDI", "PN A\nII\nEI\n", 2, K::Preamble,
     "expected 'DI 1 10000' after the PN of unit 'A'"},
    {"DIWithoutNumbers", "PN A\nDI 1 X\nII\nEI\n", 2, K::Preamble,
     "expected 'DI 1 10000' after the PN of unit 'A'"},
    {"NoII", "PN A\nDI 1 10000\nOS\nEI\n", 3, K::Preamble,
     "expected 'II' after the DI of unit 'A'"},
    {"DIInTheBody", "PN A\nDI 1 10000\nII\nDI 1 10000\nEI\n", 4, K::Preamble,
     "DI belongs to the unit's opening lines, right after PN"},
    {"IIInTheBody", "PN A\nDI 1 10000\nII\nII\nEI\n", 4, K::Preamble,
     "II belongs to the unit's opening lines, right after PN"},
    {"PNWithoutName", "PN\nDI 1 10000\nII\nEI\n", 1, K::BadOperands,
     "PN needs the name of the unit"},
    {"PNWithoutEI", "PN A\nDI 1 10000\nII\nOS\n", 1, K::UnitNotClosed,
     "unit 'A' has no EI"},
    {"PNInsideAUnit", "PN A\nDI 1 10000\nII\nOS\nPN B\nDI 1 10000\nII\nEI\n", 5, K::UnitNotClosed,
     "PN before the EI of unit 'A' (opened at line 1)"},
    {"EIWithOperand", "PN A\nDI 1 10000\nII\nEI X\n", 4, K::BadOperands,
     "EI takes no operands, found 'X'"},
    {"UnitNamedTwice", "PN A\nDI 1 10000\nII\nEI\n\nPN A\nDI 1 10000\nII\nEI\n", 6, K::DuplicateUnit,
     "a second unit named 'A' (the first is at line 1)"},
    {"UnknownWord", "PN A\nDI 1 10000\nII\nOS\nMOVE X 1\nEI\n", 5, K::UnknownWord,
     "unknown word 'MOVE'"},
    {"CallOfAMissingUnit", "PN A\nDI 1 10000\nII\nSL 2\nCIR3\nEL\nEI\n", 5, K::UnknownUnit,
     "'CIR3' is no command and no unit of this program to call"},
    {"MoveWithoutAxis", "PN A\nDI 1 10000\nII\nMA\nEI\n", 4, K::BadOperands,
     "MA needs X or Y"},
    {"MoveWithUnknownAxis", "PN A\nDI 1 10000\nII\nMA Z 1\nEI\n", 4, K::BadOperands,
     "MA needs X or Y, found 'Z'"},
    {"MoveWithoutNumber", "PN A\nDI 1 10000\nII\nMA X\nEI\n", 4, K::BadOperands,
     "a number must follow X at the end of the line"},
    {"AxisTwice", "PN A\nDI 1 10000\nII\nMI X 1 X 2\nEI\n", 4, K::BadOperands,
     "X given twice in one MI"},
    {"SecondClauseWithoutAxis", "PN A\nDI 1 10000\nII\nMA X 1 MI\nEI\n", 4, K::BadOperands,
     "MI needs X or Y"},
    {"ArcWithAbsoluteMove", "PN A\nDI 1 10000\nII\nMA X 1 Y 0 ARC -360.0\nEI\n", 4, K::BadOperands,
     "ARC follows MI, whose offset is the arc's centre"},
    {"ArcWithoutAngle", "PN A\nDI 1 10000\nII\nMI X 1 Y 0.0 ARC\nEI\n", 4, K::BadOperands,
     "a number must follow ARC at the end of the line"},
    {"ArcThenMore", "PN A\nDI 1 10000\nII\nMI X 1 Y 0.0 ARC -360.0 VEL 1 ACC 1 MI X 1\nEI\n", 4, K::BadOperands,
     "unexpected 'MI' after the arc"},
    {"ArcSpeedTwice", "PN A\nDI 1 10000\nII\nMI X 1 Y 0.0 ARC -360.0 VEL 1 VEL 1\nEI\n", 4, K::BadOperands,
     "unexpected 'VEL' after the arc"},
    {"OpenWithOperand", "PN A\nDI 1 10000\nII\nOS 1\nEI\n", 4, K::BadOperands,
     "OS takes no operands, found '1'"},
    {"QuietWordWithOperand", "PN A\nDI 1 10000\nII\nZERO X\nEI\n", 4, K::BadOperands,
     "ZERO takes no operands, found 'X'"},
    {"WaitWithoutNumber", "PN A\nDI 1 10000\nII\nWT\nEI\n", 4, K::BadOperands,
     "a number must follow WT at the end of the line"},
    {"WaitWithTwoNumbers", "PN A\nDI 1 10000\nII\nWT 1 2\nEI\n", 4, K::BadOperands,
     "WT takes one number, found '2'"},
    {"NegativeWait", "PN A\nDI 1 10000\nII\nWT -0.1\nEI\n", 4, K::BadNumber,
     "a wait cannot be negative: '-0.1'"},
    {"SetWithoutEquals", "PN A\nDI 1 10000\nII\nSP DVL 0.6\nEI\n", 4, K::BadOperands,
     "expected 'SP NAME = value'"},
    {"SetOfANumber", "PN A\nDI 1 10000\nII\nSP 1 = 0.6\nEI\n", 4, K::BadOperands,
     "expected 'SP NAME = value'"},
    {"SetWithText", "PN A\nDI 1 10000\nII\nSP DVL = abc\nEI\n", 4, K::BadOperands,
     "a number must follow SP DVL =, found 'abc'"},
    {"SetWithoutValue", "PN A\nDI 1 10000\nII\nSP DVL =\nEI\n", 4, K::BadOperands,
     "a number must follow SP DVL = at the end of the line"},
    {"SetWithTwoValues", "PN A\nDI 1 10000\nII\nSP DVL = 1 2\nEI\n", 4, K::BadOperands,
     "SP sets one value, found '2'"},
    {"DPAlone", "PN A\nDI 1 10000\nII\nDP\nEI\n", 4, K::BadOperands,
     "expected 'DP' and one name, as 'DP TIM'"},
    {"RepeatWithoutCount", "PN A\nDI 1 10000\nII\nSL\nEL\nEI\n", 4, K::BadOperands,
     "SL takes one repeat count"},
    {"RepeatOfZero", "PN A\nDI 1 10000\nII\nSL 0\nEL\nEI\n", 4, K::BadNumber,
     "a repeat count must lie between 1 and 4294967295, found '0'"},
    {"RepeatOfHalf", "PN A\nDI 1 10000\nII\nSL 2.5\nEL\nEI\n", 4, K::BadNumber,
     "'2.5' is not a whole number of repeats"},
    {"RepeatTooLarge", "PN A\nDI 1 10000\nII\nSL 99999999999\nEL\nEI\n", 4, K::BadNumber,
     "a repeat count must lie between 1 and 4294967295, found '99999999999'"},
    {"EndWithOperand", "PN A\nDI 1 10000\nII\nSL 2\nEL 2\nEI\n", 5, K::BadOperands,
     "EL takes no operands, found '2'"},
    {"ELWithoutSL", "PN A\nDI 1 10000\nII\nOS\nEL\nEI\n", 5, K::ELWithoutSL,
     "EL without an open SL in unit 'A'"},
    {"SLWithoutEL", "PN A\nDI 1 10000\nII\nSL 3\nMI X 1\nSL 2\nMI Y 1\nEL\nMI X 2\nEI\n", 4, K::SLWithoutEL,
     "SL 3 has no EL before the EI of unit 'A' (line 10)"},
    {"Recursion", "PN A\nDI 1 10000\nII\nB\nEI\nPN B\nDI 1 10000\nII\nMI X 1\nA\nEI\nPN MAIN\nDI 1 10000\nII\nA\nEI\n", 10, K::Recursion,
     "the call of 'A' recurses: 'A' is still running when it is called"},
    {"SelfCall", "PN A\nDI 1 10000\nII\nMI X 1\nA\nEI\nPN MAIN\nDI 1 10000\nII\nEI\n", 5, K::Recursion,
     "unit 'A' calls itself"},
    {"LongWord", "PN A\nDI 1 10000\nII\nABCDEFGHIJABCDEFGHIJABCDEFGHIJABCDEFGHIJABCDEFGHIJ X\nEI\n", 4, K::UnknownWord,
     "unknown word 'ABCDEFGHIJABCDEFGHIJABCDEFGHIJABCDEFGHIJ...'"},
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
        EXPECT_EQ(error->message, c.message) << c.name;
    }
}
