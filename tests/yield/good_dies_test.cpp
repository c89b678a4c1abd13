// SPDX-License-Identifier: GPL-3.0-or-later
// Good dies: the closed forms for every model and shape, the refusals, the sweep's columns.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <sstream>

#include "tests/support/design_helpers.h"
#include "layout/die_area.h"
#include "layout/layout_results.h"
#include "yield/yield_sweep.h"

using namespace kerf;

namespace {

// The models as written down, without the care for small x.
double closedForm(YieldModel model, double x, double n, double alpha)
{
    switch (model) {
    case YieldModel::Poisson: return std::exp(-x);
    case YieldModel::Murphy: return x == 0 ? 1 : std::pow((1 - std::exp(-x)) / x, 2);
    case YieldModel::Seeds: return 1 / (1 + x);
    case YieldModel::Moore: return std::exp(-std::sqrt(x));
    case YieldModel::BoseEinstein: return std::pow(1 + x, -n);
    case YieldModel::NegativeBinomial: return std::pow(1 + x / alpha, -alpha);
    }
    return NAN;
}

YieldTexts texts(const char* defects, const char* model, const char* layers = "", const char* alpha = "",
                 const char* cost = "")
{
    return {defects, model, layers, alpha, cost};
}

YieldSettings settingsOf(const YieldTexts& texts) { return std::get<YieldSettings>(readYieldSettings(texts)); }

void expectRelative(double actual, double expected, const std::string& what)
{
    EXPECT_LE(std::abs(actual - expected), 1e-9 * std::abs(expected)) << what << ": " << actual << " vs " << expected;
}

} // namespace

TEST(GoodDies, EveryModelAndShapeIsItsClosedForm)
{
    for (const char* shape : {"Circle", "Hexagon", "Square"}) {
        const WaferLayout layout = kerf::testing::designedLayout("4.0 Inches", shape, "120");
        const double d = 0.12, h = layout.HexHalfSide.isEmpty() ? 0 : layout.HexHalfSide.toDouble();
        const double inches = std::string(shape) == "Circle"    ? std::numbers::pi * d * d / 4
                              : std::string(shape) == "Hexagon" ? 6 * (d / 2) * h
                                                                : d * d;
        const double area = dieAreaCm2(layout);
        expectRelative(area, inches * 6.4516, shape);
        const long long gross = dieTotal(layout);
        for (const YieldModel model : YieldModels)
            for (const char* density : {"0", "0.05", "0.3", "2.5", "40"}) {
                const YieldTexts texts{density, std::string(modelName(model)), "3", "0.7", "1500"};
                const GoodDies dies = goodDies(settingsOf(texts), gross, area);
                const double expected = closedForm(model, area * std::stod(density), 3, 0.7);
                const std::string what = std::string(shape) + ' ' + texts.model + ' ' + density;
                expectRelative(dies.yield, expected, what);
                EXPECT_EQ(dies.goodDies, static_cast<long long>(std::floor(gross * expected))) << what;
                if (dies.goodDies > 0)
                    expectRelative(*dies.costPerGoodDie, 1500.0 / dies.goodDies, what);
                else
                    EXPECT_EQ(dies.costNote, NoGoodDieNote) << what;
            }
    }
}

TEST(GoodDies, DefaultsAndEdges)
{
    // Empty parameters are n = 1 and α = 2; no cost, no cost per die and no note.
    const GoodDies be = goodDies(settingsOf({"1", "bose-einstein", "", "", ""}), 1000, 0.5);
    expectRelative(be.yield, 1 / 1.5, "n = 1");
    EXPECT_FALSE(be.costPerGoodDie);
    EXPECT_TRUE(be.costNote.empty());
    expectRelative(goodDies(settingsOf({"1", "negative-binomial", "", "", ""}), 10, 0.5).yield, std::pow(1.25, -2), "α = 2");
    // Murphy at x = 0 and for a tiny x is 1; a wafer of nothing good has a note, not a cost.
    EXPECT_EQ(goodDies(settingsOf({"0", "murphy", "", "", ""}), 7, 1).goodDies, 7);
    EXPECT_NEAR(modelYield(YieldModel::Murphy, 1e-12, 0), 1 - 1e-12, 1e-15);
    const GoodDies none = goodDies(settingsOf({"1e300", "seeds", "", "", "100"}), 5, 1);
    EXPECT_EQ(none.goodDies, 0);
    EXPECT_FALSE(none.costPerGoodDie);
    EXPECT_EQ(costPerGoodDieText(none), NoGoodDieNote);
    EXPECT_EQ(costPerGoodDieText({0, 1, 3, 1234.5678, ""}), "1235");
    EXPECT_EQ(costPerGoodDieText({0, 1, 3, 0.012345, ""}), "0.01235");
    EXPECT_EQ(yieldPercentText(0.87654), "87.65 %");
    EXPECT_EQ(exactNumberText(0.1), "0.1");
}

struct RefusedYield {
    YieldTexts texts;
    YieldBox box;
    const char* prompt;
};

class YieldRefusals : public ::testing::TestWithParam<RefusedYield> {};

TEST_P(YieldRefusals, NameTheBox)
{
    const auto outcome = readYieldSettings(GetParam().texts);
    ASSERT_TRUE(std::holds_alternative<YieldRefusal>(outcome));
    EXPECT_EQ(std::get<YieldRefusal>(outcome).box, GetParam().box);
    EXPECT_NE(std::get<YieldRefusal>(outcome).prompt.find(GetParam().prompt), std::string::npos)
        << std::get<YieldRefusal>(outcome).prompt;
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, YieldRefusals,
    ::testing::Values(RefusedYield{texts("-0.1", "poisson"), YieldBox::Defects, "缺陷密度"},
                      RefusedYield{texts("abc", "poisson"), YieldBox::Defects, "缺陷密度"},
                      RefusedYield{texts("", "poisson"), YieldBox::Defects, "缺陷密度"},
                      RefusedYield{texts("inf", "poisson"), YieldBox::Defects, "缺陷密度"},
                      RefusedYield{texts("0.3x", "poisson"), YieldBox::Defects, "缺陷密度"},
                      RefusedYield{texts("0.3", "Poisson"), YieldBox::Model, "良率模型「Poisson」"},
                      RefusedYield{texts("0.3", ""), YieldBox::Model, "良率模型"},
                      RefusedYield{texts("0.3", "bose-einstein", "0.9"), YieldBox::Layers, "關鍵層數"},
                      RefusedYield{texts("0.3", "bose-einstein", "one"), YieldBox::Layers, "關鍵層數"},
                      RefusedYield{texts("0.3", "negative-binomial", "", "0"), YieldBox::Alpha, "叢集參數"},
                      RefusedYield{texts("0.3", "negative-binomial", "", "-2"), YieldBox::Alpha, "叢集參數"},
                      RefusedYield{texts("0.3", "murphy", "", "", "-1"), YieldBox::Cost, "晶片成本"},
                      RefusedYield{texts("0.3", "murphy", "", "", "nan"), YieldBox::Cost, "晶片成本"}));

TEST(GoodDies, OnlyTheModelsOwnParameterIsRead)
{
    EXPECT_TRUE(std::holds_alternative<YieldSettings>(readYieldSettings(texts(" 0.3 ", "poisson", "0", "-1"))));
}

TEST(GoodDies, SweepColumnsFollowTodaysAndAgreeWithTheDesign)
{
    SweepRequest request;
    request.base.texts = {"2.0 Inches", chooseWaferSize("2.0 Inches", 0).effectiveText, "", "", ""};
    request.base.WaferDiameter = 2;
    request.shapes = {"Hexagon", "Square"};
    request.fromMil = 100;
    request.toMil = 1900; // the largest size is refused
    request.steps = 4;
    const std::vector<SweepPoint> points = sweepDieSizes(request);
    ASSERT_FALSE(points.back().results);
    const YieldSettings settings = settingsOf({"0.4", "murphy", "", "", "250"});
    std::ostringstream plain, withYield;
    writeSweepCsv(plain, points);
    const SweepCsvColumns columns = yieldCsvColumns(settings);
    writeSweepCsv(withYield, points, &columns);
    std::istringstream plainLines(plain.str()), yieldLines(withYield.str());
    std::string before, after;
    std::getline(yieldLines, after);
    EXPECT_EQ(after, "shape,die_mil,rows,dies,utilisation_percent,refusal,good_dies,yield_percent,cost_per_good_die");
    std::getline(plainLines, before);
    for (const SweepPoint& point : points) {
        std::getline(plainLines, before);
        std::getline(yieldLines, after);
        ASSERT_EQ(after.substr(0, before.size()), before); // today's columns untouched
        if (!point.results) {
            EXPECT_EQ(after.substr(before.size()), ",,,");
            continue;
        }
        const Design design = kerf::testing::designed("2.0 Inches", point.shape, point.dieSize);
        const GoodDies dies = goodDies(settings, dieTotal(design.layout), dieAreaCm2(design.layout));
        const std::string cost = dies.costPerGoodDie ? exactNumberText(*dies.costPerGoodDie) : "";
        EXPECT_EQ(after.substr(before.size()),
                  ',' + std::to_string(dies.goodDies) + ',' + exactNumberText(dies.yield * 100) + ',' + cost);
    }
}
