// SPDX-License-Identifier: GPL-3.0-or-later
// The design button's input handling: what it refuses, with which message and
// focus, and what it accepts.
#include <gtest/gtest.h>

#include "tests/support/design_helpers.h"

using namespace kerf;
using namespace kerf::testing;

namespace {

Refusal refused(const DesignOutcome& outcome)
{
    EXPECT_TRUE(std::holds_alternative<Refusal>(outcome));
    if (const auto* refusal = std::get_if<Refusal>(&outcome))
        return *refusal;
    return {};
}

const std::string DieMessage = "晶粒尺寸或微調值不合常理，請確認正確數值。";
const std::string EffectiveMessage = "晶片有效直徑大於實際直徑，請確認正確數值。";

} // namespace

TEST(WaferSizeChoice, SetsDiameterAndEffectiveText)
{
    const struct { const char* item; float diameter; const char* effective; } sizes[] = {
        {"2.0 Inches", 2.0f, "1.9"}, {"2.5 Inches", 2.5f, "2.375"}, {"3.0 Inches", 3.0f, "2.85"},
        {"4.0 Inches", 4.0f, "3.8"}, {"5.0 Inches", 5.0f, "4.75"}};
    for (const auto& s : sizes) {
        const WaferSizeChoice choice = chooseWaferSize(s.item, 0);
        EXPECT_EQ(choice.WaferDiameter, s.diameter);
        EXPECT_EQ(choice.WaferRadius, s.diameter / 2);
        EXPECT_EQ(choice.effectiveText, s.effective);
    }
}

TEST(WaferSizeChoice, TextNotInTheListKeepsTheDiameterButRewritesTheBox)
{
    const WaferSizeChoice choice = chooseWaferSize("6 Inches", 4.0f);
    EXPECT_EQ(choice.WaferDiameter, 4.0f);
    EXPECT_EQ(choice.effectiveText, "3.8");
    EXPECT_EQ(chooseWaferSize("", 0).effectiveText, "0");
}

TEST(DesignDriver, EmptyDieSizeDoesNothing)
{
    EXPECT_TRUE(std::holds_alternative<NothingToDo>(design("2.0 Inches", "Circle", "")));
}

TEST(DesignDriver, NoShapeDrawsOnlyTheOutline)
{
    EXPECT_TRUE(std::holds_alternative<OutlineOnly>(design("2.0 Inches", "", "50")));
    EXPECT_TRUE(std::holds_alternative<OutlineOnly>(design("2.0 Inches", "circle", "50")));
}

TEST(DesignDriver, NoWaferAndNoEffectiveDiameterIsTheDieSizeMessage)
{
    const Refusal r = refused(design("", "Circle", "50"));
    EXPECT_EQ(r.prompt, DieMessage);
    EXPECT_EQ(r.title, "輸入數值錯誤");
    EXPECT_EQ(r.focus, InputBox::DieSize);
}

TEST(DesignDriver, NoWaferWithEffectiveDiameterIsTheEffectiveMessage)
{
    const Refusal r = refused(design("", "Circle", "50", "", "1.9"));
    EXPECT_EQ(r.prompt, EffectiveMessage);
    EXPECT_EQ(r.focus, InputBox::EffectiveDiameter);
}

TEST(DesignDriver, EffectiveEqualToWaferIsAcceptedLargerIsNot)
{
    EXPECT_TRUE(std::holds_alternative<Design>(design("2.0 Inches", "Square", "100", "", "2")));
    EXPECT_EQ(refused(design("2.0 Inches", "Square", "100", "", "2.01")).prompt, EffectiveMessage);
}

TEST(DesignDriver, DieSizeEqualToEffectiveDiameterIsRefused)
{
    EXPECT_EQ(refused(design("2.0 Inches", "Circle", "1900")).prompt, DieMessage);
    EXPECT_TRUE(std::holds_alternative<Design>(design("2.0 Inches", "Circle", "1899")));
}

TEST(DesignDriver, FineTuneIsComparedForEveryShape)
{
    // The fine-tune box keeps its text when another shape is chosen.
    for (const char* shape : {"Circle", "Hexagon", "Square"}) {
        EXPECT_EQ(refused(design("2.0 Inches", shape, "50", "1900")).prompt, DieMessage) << shape;
        EXPECT_TRUE(std::holds_alternative<Design>(design("2.0 Inches", shape, "50", "1899"))) << shape;
    }
}

TEST(DesignDriver, TextsThatAreNotNumbersAreRefusedWithTheirBox)
{
    const struct { const char* die; const char* gap; const char* effective; InputBox box; } cases[] = {
        {".", "", "1.9", InputBox::DieSize},           {"1.2.3", "", "1.9", InputBox::DieSize},
        {"50", ".", "1.9", InputBox::FineTune},        {"50", "2..", "1.9", InputBox::FineTune},
        {"50", "", ".", InputBox::EffectiveDiameter},  {"50", "", "1.9.1", InputBox::EffectiveDiameter},
        {"5O", "", "1.9", InputBox::DieSize},
    };
    for (const auto& c : cases) {
        const Refusal r = refused(design("2.0 Inches", "Circle", c.die, c.gap, c.effective));
        EXPECT_EQ(r.focus, c.box) << c.die << " " << c.gap << " " << c.effective;
        EXPECT_EQ(r.title, "輸入數值錯誤");
        EXPECT_NE(r.prompt.find("不是有效的數值"), std::string::npos) << r.prompt;
    }
}

TEST(DesignDriver, NegativeAndZeroValuesAreRefused)
{
    EXPECT_EQ(refused(design("2.0 Inches", "Circle", "-50")).focus, InputBox::DieSize);
    EXPECT_EQ(refused(design("2.0 Inches", "Circle", "50", "-2")).focus, InputBox::FineTune);
    EXPECT_EQ(refused(design("2.0 Inches", "Circle", "50", "", "-1")).focus, InputBox::EffectiveDiameter);
    for (const char* shape : {"Circle", "Hexagon", "Square"}) {
        const Refusal r = refused(design("2.0 Inches", shape, "0", "2"));
        EXPECT_EQ(r.prompt, "晶粒尺寸必須大於 0，請確認正確數值。") << shape;
        EXPECT_EQ(r.focus, InputBox::DieSize);
    }
}

TEST(DesignDriver, HexagonThatCannotFitEvenOnceIsRefused)
{
    // 1000-mil hexagons have a corner radius of 0.577: they need more than 1.155 inches.
    const Refusal r = refused(design("2.0 Inches", "Hexagon", "1000", "", "1.15"));
    EXPECT_EQ(r.focus, InputBox::DieSize);
    EXPECT_NE(r.prompt.find("有效直徑太小"), std::string::npos);
    EXPECT_TRUE(std::holds_alternative<Design>(design("2.0 Inches", "Hexagon", "1000", "", "1.16")));
}

TEST(DesignDriver, LayoutsPastTheSixteenBitLimitsAreRefused)
{
    for (const char* shape : {"Circle", "Hexagon", "Square"}) {
        const Refusal r = refused(design("5.0 Inches", shape, "0.1", "", "5"));
        EXPECT_EQ(r.focus, InputBox::DieSize) << shape;
        EXPECT_NE(r.prompt.find("32767"), std::string::npos) << r.prompt;
    }
    // A pitch whose row pitch rounds to nothing.
    EXPECT_EQ(refused(design("5.0 Inches", "Circle", "0.0004")).focus, InputBox::DieSize);
}

TEST(DesignDriver, SmallestDiesThatFitTheLimitsDesignHundredsOfMillions)
{
    const struct { const char* shape; const char* die; } smallest[] = {
        {"Circle", "0.1763"}, {"Hexagon", "0.1763"}, {"Square", "0.1527"}};
    for (const auto& s : smallest) {
        const Design d = designed("5.0 Inches", s.shape, s.die, "", "5");
        EXPECT_GT(std::stoll(d.results.dies), 100'000'000) << s.shape;
        EXPECT_LE(d.layout.RowTable.upperBound(), 32767);
    }
}

TEST(DesignDriver, RecordsTheTextsTheLayoutWasMadeFrom)
{
    const Design d = designed("3.0 Inches", "Circle", "100", "2", "2.5");
    EXPECT_EQ(d.layout.texts.waferSize, "3.0 Inches");
    EXPECT_EQ(d.layout.texts.shape, "Circle");
    EXPECT_EQ(d.layout.texts.dieSize, "100");
    EXPECT_EQ(d.layout.texts.fineTune, "2");
    EXPECT_EQ(d.layout.texts.effectiveDiameter, "2.5");
    EXPECT_EQ(d.layout.shape, DieShape::Circle);
    EXPECT_EQ(d.layout.EffectiveRadius, 1.25f);
    EXPECT_EQ(d.layout.DieSize, 0.1f);
}
