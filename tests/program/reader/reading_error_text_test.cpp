// SPDX-License-Identifier: GPL-3.0-or-later
// What the reader refuses, in the words the preview and `kerfwright-cli check` show.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "program/reader/reading_error_text.h"

using namespace kerf;

TEST(ReadingErrorText, NamesTheLineAndShowsIt)
{
    const std::string program = "PN MAIN\r\nDI 1 10000\r\nII\r\n  FOO X 1  \r\nEI\r\n";
    EXPECT_EQ(readingErrorText({4, ProgramErrorKind::UnknownWord, ProgramFault::UnknownWord, "", "FOO", "", 0}, program),
              "程式第 4 行無法讀取：無法辨識的指令「FOO」（「FOO X 1」）。");
    EXPECT_EQ(readingErrorText({57, ProgramErrorKind::ELWithoutSL, ProgramFault::ELWithoutSL, "", "", "B", 0}),
              "程式第 57 行無法讀取：EL 之前沒有對應的 SL（程式單元「B」）。");
    EXPECT_EQ(readingErrorText({0, ProgramErrorKind::Empty, ProgramFault::NoUnit, "", "", "", 0}), "程式無法讀取：程式中沒有任何程式單元。");
    // A long line is cut short; bytes that are no ASCII text are not shown as such.
    const std::string longLine = "PN MAIN\n" + std::string(60, 'A') + "\xB5\n";
    EXPECT_EQ(readingErrorText({2, ProgramErrorKind::UnknownWord, ProgramFault::UnknownWord, "", "A", "", 0}, longLine),
              "程式第 2 行無法讀取：無法辨識的指令「A」（「" + std::string(40, 'A') + "……」）。");
    // Chinese typed in Big5 (CP950) as in UTF-8 reads as Chinese; bytes of neither as «?».
    for (const auto& [line, shown] : {std::pair<std::string, std::string>{"MI X \xB4\xB9\xA4\xF9", "MI X 晶片"},
                                      {"MI X 晶片", "MI X 晶片"},
                                      {"MI X \xFF\x01", "MI X ??"}})
        EXPECT_EQ(readingErrorText({1, ProgramErrorKind::BadNumber, ProgramFault::NotNumber, "", "X", "", 0}, line),
                  "程式第 1 行無法讀取：「X」不是數值（「" + shown + "」）。");
}

TEST(ReadingErrorText, NoEnglishForAnyFault)
{
    // Every fault says what is wrong in Chinese: no English word (the
    // program's words are upper case), its names and words decoded.
    for (int fault = 0; fault <= static_cast<int>(ProgramFault::CallRecurses); ++fault) {
        const ProgramError error{25, ProgramErrorKind::BadOperands, static_cast<ProgramFault>(fault), "WT",
                                 "\xB4\xB9\xA4\xF9", "MAIN", 7};
        const std::string text = readingErrorText(error);
        EXPECT_TRUE(std::none_of(text.begin(), text.end(), [](char c) { return c >= 'a' && c <= 'z'; })) << text;
        EXPECT_EQ(text.find("\xB4\xB9"), std::string::npos) << text;
        EXPECT_GT(text.size(), std::string("程式第 25 行無法讀取：。").size()) << text;
    }
}
