// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "program/writer/program_name_check.h"

using namespace kerf;

TEST(ProgramName, EmptyNameGetsTheMessageOfTheStartButton)
{
    const auto refusal = checkProgramName("");
    ASSERT_TRUE(refusal);
    EXPECT_EQ(*refusal, (GenerationRefusal{"未輸入欲產生的檔名，請輸入檔名。", "未輸入檔名", GenerationBox::Text1}));
}

TEST(ProgramName, NameOfBlanksOnlyIsRefusedLikeAnEmptyOne)
{
    for (const char* name : {" ", "   ", "                    "}) {
        const auto refusal = checkProgramName(name);
        ASSERT_TRUE(refusal) << '"' << name << '"';
        EXPECT_EQ(*refusal, (GenerationRefusal{"未輸入欲產生的檔名，請輸入檔名。", "未輸入檔名", GenerationBox::Text1}));
    }
}

class AcceptedName : public ::testing::TestWithParam<const char*> {};

TEST_P(AcceptedName, Passes)
{
    EXPECT_FALSE(checkProgramName(GetParam())) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(Names, AcceptedName,
                         ::testing::Values("job", "MY JOB", "  job  ", "job.TXT", "a.b", ".job", "job.", "晶片切割",
                                           "12345678901234567890", "晶片晶片晶片晶片晶片晶片晶片晶片晶片晶片",
                                           "wafer-4_100mil(2)"));

struct RefusedName {
    const char* name;
    const char* prompt;
};

void PrintTo(const RefusedName& c, std::ostream* out) { *out << ::testing::PrintToString(std::string(c.name)); }

class RefusedProgramName : public ::testing::TestWithParam<RefusedName> {};

TEST_P(RefusedProgramName, IsRefusedWithTheNameBoxToFix)
{
    const auto refusal = checkProgramName(GetParam().name);
    ASSERT_TRUE(refusal) << GetParam().name;
    EXPECT_EQ(refusal->prompt, GetParam().prompt);
    EXPECT_EQ(refusal->title, "檔名錯誤");
    EXPECT_EQ(refusal->focus, GenerationBox::Text1);
}

INSTANTIATE_TEST_SUITE_P(
    Names, RefusedProgramName,
    ::testing::Values(
        RefusedName{"a/b", "檔名不可含有「/」或「\\」，請只輸入檔名，不要輸入資料夾路徑。"},
        RefusedName{"/etc/passwd", "檔名不可含有「/」或「\\」，請只輸入檔名，不要輸入資料夾路徑。"},
        RefusedName{"..\\job", "檔名不可含有「/」或「\\」，請只輸入檔名，不要輸入資料夾路徑。"},
        RefusedName{"..", "檔名不可含有「..」，請修改檔名。"},
        RefusedName{"a..b", "檔名不可含有「..」，請修改檔名。"},
        RefusedName{"job\t1", "檔名不可含有控制字元（例如定位字元或換行），請修改檔名。"},
        RefusedName{"job\n", "檔名不可含有控制字元（例如定位字元或換行），請修改檔名。"},
        RefusedName{"job\x7f", "檔名不可含有控制字元（例如定位字元或換行），請修改檔名。"},
        RefusedName{"job\xc2\x85", "檔名不可含有控制字元（例如定位字元或換行），請修改檔名。"},
        RefusedName{"a:b", "檔名不可含有下列字元：< > : \" | ? *，請修改檔名。"},
        RefusedName{"a*", "檔名不可含有下列字元：< > : \" | ? *，請修改檔名。"},
        RefusedName{"a?b", "檔名不可含有下列字元：< > : \" | ? *，請修改檔名。"},
        RefusedName{"<a>", "檔名不可含有下列字元：< > : \" | ? *，請修改檔名。"},
        RefusedName{"a|b", "檔名不可含有下列字元：< > : \" | ? *，請修改檔名。"},
        RefusedName{"\"a\"", "檔名不可含有下列字元：< > : \" | ? *，請修改檔名。"},
        RefusedName{"123456789012345678901", "檔名最多 20 個字元，請縮短檔名。"},
        RefusedName{"job\xff", "檔名含有無法辨識的文字編碼，請重新輸入檔名。"},
        RefusedName{"job\xe6\x99", "檔名含有無法辨識的文字編碼，請重新輸入檔名。"}));
