// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "program/writer/generation_parameters.h"

using namespace kerf;

namespace {

MachineParameters read(const GenerationTexts& texts)
{
    const auto result = ReadGenerationParameters(texts);
    EXPECT_TRUE(std::holds_alternative<MachineParameters>(result));
    return std::holds_alternative<MachineParameters>(result) ? std::get<MachineParameters>(result)
                                                              : MachineParameters{};
}

GenerationTexts withPasses(const std::string& passes)
{
    GenerationTexts texts;
    texts.passes = passes;
    return texts;
}

} // namespace

TEST(GenerationParameters, WindowDefaults)
{
    EXPECT_EQ(read({}), (MachineParameters{1, "0.6", "6.0", "0.6", "6.0"}));
}

TEST(GenerationParameters, EmptyBoxesTakeTheirFallbacks)
{
    GenerationTexts texts{"job", "", "", "", "", ""};
    EXPECT_EQ(read(texts), (MachineParameters{1, "0.6", "6.0", "0.6", "6.0"}));
}

TEST(GenerationParameters, EmptyVelAndAccFollowTheTypedDvlAndDac)
{
    GenerationTexts texts{"job", "2", "0.8", "7", "", ""};
    EXPECT_EQ(read(texts), (MachineParameters{2, "0.8", "7", "0.8", "7"}));
}

TEST(GenerationParameters, NumbersAreKeptAsTyped)
{
    GenerationTexts texts{"job", "1", "0.60", "6", ".5", "-1."};
    EXPECT_EQ(read(texts), (MachineParameters{1, "0.60", "6", ".5", "-1."}));
}

struct MachineCase {
    GenerationTexts texts;
    GenerationRefusal refusal;
};

void PrintTo(const MachineCase& c, std::ostream* out) { *out << ::testing::PrintToString(c.refusal.title); }

class RefusedMachineParameter : public ::testing::TestWithParam<MachineCase> {};

TEST_P(RefusedMachineParameter, IsRefusedWithItsBoxToFix)
{
    const auto result = ReadGenerationParameters(GetParam().texts);
    ASSERT_TRUE(std::holds_alternative<GenerationRefusal>(result));
    EXPECT_EQ(std::get<GenerationRefusal>(result), GetParam().refusal);
}

namespace {

const char* const DvlRefusal = "DVL 必須是數字（例如 0.6），不可含有空格或其他文字，請修改。";
const char* const DacRefusal = "DAC 必須是數字（例如 6.0），不可含有空格或其他文字，請修改。";
const char* const VelRefusal = "VEL 必須是數字（例如 0.6），不可含有空格或其他文字，請修改。";
const char* const AccRefusal = "ACC 必須是數字（例如 6.0），不可含有空格或其他文字，請修改。";

} // namespace

INSTANTIATE_TEST_SUITE_P(
    Texts, RefusedMachineParameter,
    ::testing::Values(
        MachineCase{{"job", "1", "abc", "6.0", "0.6", "6.0"}, {DvlRefusal, "輸入數值錯誤", GenerationBox::Text3}},
        MachineCase{{"job", "1", "0,6", "6.0", "0.6", "6.0"}, {DvlRefusal, "輸入數值錯誤", GenerationBox::Text3}},
        MachineCase{{"job", "1", " 0.6", "6.0", "0.6", "6.0"}, {DvlRefusal, "輸入數值錯誤", GenerationBox::Text3}},
        MachineCase{{"job", "1", "0.6\r\nOS", "6.0", "0.6", "6.0"}, {DvlRefusal, "輸入數值錯誤", GenerationBox::Text3}},
        MachineCase{{"job", "1", "０.６", "6.0", "0.6", "6.0"}, {DvlRefusal, "輸入數值錯誤", GenerationBox::Text3}},
        MachineCase{{"job", "1", "0.6", "6 .0", "0.6", "6.0"}, {DacRefusal, "輸入數值錯誤", GenerationBox::Text4}},
        MachineCase{{"job", "1", "0.6", "1.2.3", "0.6", "6.0"}, {DacRefusal, "輸入數值錯誤", GenerationBox::Text4}},
        MachineCase{{"job", "1", "0.6", "6.0", "0.6 ACC", "6.0"}, {VelRefusal, "輸入數值錯誤", GenerationBox::Text5}},
        MachineCase{{"job", "1", "0.6", "6.0", "-", "6.0"}, {VelRefusal, "輸入數值錯誤", GenerationBox::Text5}},
        MachineCase{{"job", "1", "0.6", "6.0", "0.6", "6.0\nOS"}, {AccRefusal, "輸入數值錯誤", GenerationBox::Text6}},
        MachineCase{{"job", "1", "0.6", "6.0", "0.6", "+6"}, {AccRefusal, "輸入數值錯誤", GenerationBox::Text6}}));

struct CountCase {
    const char* text;
    std::int16_t count;
};

void PrintTo(const CountCase& c, std::ostream* out) { *out << ::testing::PrintToString(std::string(c.text)); }

class PassCount : public ::testing::TestWithParam<CountCase> {};

TEST_P(PassCount, RoundsHalvesToEven)
{
    EXPECT_EQ(read(withPasses(GetParam().text)).CutCount, GetParam().count);
}

INSTANTIATE_TEST_SUITE_P(Texts, PassCount,
                         ::testing::Values(CountCase{"", 1}, CountCase{"1", 1}, CountCase{"2", 2},
                                           CountCase{"2.5", 2}, CountCase{"3.5", 4}, CountCase{"1.5", 2},
                                           CountCase{"0.6", 1}, CountCase{"999", 999}, CountCase{"+7", 7},
                                           CountCase{" 3", 3}, CountCase{"07", 7}));

struct RefusedCase {
    const char* text;
    const char* prompt;
};

void PrintTo(const RefusedCase& c, std::ostream* out) { *out << ::testing::PrintToString(std::string(c.text)); }

class RefusedPassCount : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedPassCount, IsRefusedWithTheCountBoxToFix)
{
    const auto result = ReadGenerationParameters(withPasses(GetParam().text));
    ASSERT_TRUE(std::holds_alternative<GenerationRefusal>(result));
    const GenerationRefusal& refusal = std::get<GenerationRefusal>(result);
    EXPECT_EQ(refusal.prompt, GetParam().prompt);
    EXPECT_EQ(refusal.title, "輸入數值錯誤");
    EXPECT_EQ(refusal.focus, GenerationBox::Text2);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, RefusedPassCount,
    ::testing::Values(RefusedCase{"0", "切割次數至少要 1 次，請輸入 1 到 999 之間的整數。"},
                      RefusedCase{"-1", "切割次數至少要 1 次，請輸入 1 到 999 之間的整數。"},
                      RefusedCase{"-99", "切割次數至少要 1 次，請輸入 1 到 999 之間的整數。"},
                      RefusedCase{".5", "切割次數至少要 1 次，請輸入 1 到 999 之間的整數。"},
                      RefusedCase{"0.4", "切割次數至少要 1 次，請輸入 1 到 999 之間的整數。"},
                      RefusedCase{"abc", "切割次數不是數字，請輸入 1 到 999 之間的整數。"},
                      RefusedCase{".", "切割次數不是數字，請輸入 1 到 999 之間的整數。"},
                      RefusedCase{"1e2", "切割次數不是數字，請輸入 1 到 999 之間的整數。"},
                      RefusedCase{"三", "切割次數不是數字，請輸入 1 到 999 之間的整數。"},
                      RefusedCase{"1000", "切割次數最多 3 個字元，請輸入 1 到 999 之間的整數。"},
                      RefusedCase{"40000", "切割次數最多 3 個字元，請輸入 1 到 999 之間的整數。"}));
