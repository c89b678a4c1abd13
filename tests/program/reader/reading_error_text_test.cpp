// SPDX-License-Identifier: GPL-3.0-or-later
// What the reader refuses, in the words the preview and `kerfwright-cli check` show.
#include <gtest/gtest.h>

#include <string>

#include "program/reader/reading_error_text.h"

using namespace kerf;

TEST(ReadingErrorText, NamesTheLineAndShowsIt)
{
    const std::string program = "PN MAIN\r\nDI 1 10000\r\nII\r\n  FOO X 1  \r\nEI\r\n";
    EXPECT_EQ(readingErrorText({4, ProgramErrorKind::UnknownWord, "unknown word 'FOO'"}, program),
              "程式第 4 行無法讀取：無法辨識的指令（「FOO X 1」）。");
    EXPECT_EQ(readingErrorText({57, ProgramErrorKind::ELWithoutSL, "EL without SL"}),
              "程式第 57 行無法讀取：EL 之前沒有對應的 SL。");
    EXPECT_EQ(readingErrorText({0, ProgramErrorKind::Empty, "no program unit"}), "程式無法讀取：程式中沒有任何程式單元。");
    // A long line is cut short; bytes that are no ASCII text are not shown as such.
    const std::string longLine = "PN MAIN\n" + std::string(60, 'A') + "\xB5\n";
    EXPECT_EQ(readingErrorText({2, ProgramErrorKind::UnknownWord, "x"}, longLine),
              "程式第 2 行無法讀取：無法辨識的指令（「" + std::string(40, 'A') + "……」）。");
    // Chinese typed in Big5 (CP950) as in UTF-8 reads as Chinese; bytes of neither as «?».
    for (const auto& [line, shown] : {std::pair<std::string, std::string>{"MI X \xB4\xB9\xA4\xF9", "MI X 晶片"},
                                      {"MI X 晶片", "MI X 晶片"},
                                      {"MI X \xFF\x01", "MI X ??"}})
        EXPECT_EQ(readingErrorText({1, ProgramErrorKind::BadNumber, "x"}, line),
                  "程式第 1 行無法讀取：數值無法讀取或超出範圍（「" + shown + "」）。");
}

TEST(ReadingErrorText, NoEnglishForAnyKind)
{
    // Every kind of refusal, whatever English the reader's message holds.
    for (int kind = 0; kind <= static_cast<int>(ProgramErrorKind::Recursion); ++kind) {
        const ProgramError error{25, static_cast<ProgramErrorKind>(kind), "running unit 'BIGP' takes more steps"};
        const std::string text = readingErrorText(error);
        EXPECT_EQ(text.find("running"), std::string::npos) << text;
        EXPECT_EQ(text.find("BIGP"), std::string::npos) << text;
        EXPECT_GT(text.size(), std::string("程式第 25 行無法讀取：。").size()) << text;
    }
}
