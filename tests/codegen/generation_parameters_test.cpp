#include <gtest/gtest.h>

#include "codegen/generation_parameters.h"

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

TEST(GenerationParameters, TextsAreKeptAsTyped)
{
    GenerationTexts texts{"job", "1", " 0.60", "6", "abc", "1e3"};
    EXPECT_EQ(read(texts), (MachineParameters{1, " 0.60", "6", "abc", "1e3"}));
}

struct CountCase {
    const char* text;
    std::int16_t count;
};

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
