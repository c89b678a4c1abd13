// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "program/words/command_words.h"

using namespace kerf;

TEST(CommandWords, EveryWordIsFoundByItsOwnText)
{
    for (std::size_t i = 0; i < CommandWordTexts.size(); ++i)
        EXPECT_EQ(commandWordOf(CommandWordTexts[i]), static_cast<CommandWord>(i)) << CommandWordTexts[i];
    for (std::size_t i = 0; i < OperandWordTexts.size(); ++i)
        EXPECT_EQ(operandWordOf(OperandWordTexts[i]), static_cast<OperandWord>(i)) << OperandWordTexts[i];
    EXPECT_EQ(wordText(CommandWord::LASON), "LASON");
    EXPECT_EQ(wordText(OperandWord::ARC), "ARC");
}

TEST(CommandWords, OtherTokensAreNoWord)
{
    // Unit calls, comments, other letter cases and operands in the wrong place.
    for (std::string_view token : {"", "CIR1", "HEX4", "#", "# Row 1", "pn", "Ma", "MIX", "M", "SL3", "X", "ARC"})
        EXPECT_FALSE(commandWordOf(token)) << token;
    for (std::string_view token : {"", "x", "XY", "=", "MI", "VEL0.6", "TIME"})
        EXPECT_FALSE(operandWordOf(token)) << token;
}
