// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "files/cp950.h"
#include "files/utf8.h"

using namespace kerf;

TEST(Cp950, AsciiIsUnchanged)
{
    EXPECT_EQ(std::get<std::string>(toCp950("PN job 0.6 ~!@#")), "PN job 0.6 ~!@#");
    EXPECT_EQ(std::get<std::string>(toCp950("")), "");
}

TEST(Cp950, TraditionalChineseBecomesItsDoubleBytes)
{
    EXPECT_EQ(std::get<std::string>(toCp950("晶片")), "\xB4\xB9\xA4\xF9");
    EXPECT_EQ(std::get<std::string>(toCp950("job晶片1")), "job\xB4\xB9\xA4\xF9" "1");
    EXPECT_EQ(std::get<std::string>(toCp950("€")), "\xA3\xE1"); // the code page's own addition to Big5
}

TEST(Cp950, NamesTheFirstCharacterItCannotHold)
{
    const auto emoji = toCp950("ab😀c");
    ASSERT_TRUE(std::holds_alternative<Cp950Failure>(emoji));
    EXPECT_EQ(std::get<Cp950Failure>(emoji).reason, Cp950Failure::Reason::Unrepresentable);
    EXPECT_EQ(std::get<Cp950Failure>(emoji).character, "😀");
    const auto accented = toCp950("晶片é");
    ASSERT_TRUE(std::holds_alternative<Cp950Failure>(accented));
    EXPECT_EQ(std::get<Cp950Failure>(accented).character, "é");
    const auto simplified = toCp950("晶片边");
    ASSERT_TRUE(std::holds_alternative<Cp950Failure>(simplified));
    EXPECT_EQ(std::get<Cp950Failure>(simplified).character, "边");
}

TEST(Cp950, RefusesTextThatIsNotUtf8)
{
    for (const char* bad : {"\xB4\xB9", "a\xC0\x80", "\xED\xA0\x80", "\xE6\x99"}) {
        const auto result = toCp950(bad);
        ASSERT_TRUE(std::holds_alternative<Cp950Failure>(result));
        EXPECT_EQ(std::get<Cp950Failure>(result).reason, Cp950Failure::Reason::NotUtf8);
    }
}

TEST(Utf8, DecodesCodePointsAndRejectsMalformedText)
{
    EXPECT_EQ(decodeUtf8("a晶😀"), std::u32string(U"a晶😀"));
    EXPECT_EQ(decodeUtf8(""), std::u32string());
    EXPECT_FALSE(decodeUtf8("\x80"));
    EXPECT_FALSE(decodeUtf8("\xC1\xBF"));         // overlong
    EXPECT_FALSE(decodeUtf8("\xF4\x90\x80\x80")); // past U+10FFFF
    EXPECT_FALSE(decodeUtf8("\xE6\x99"));         // cut short
}
