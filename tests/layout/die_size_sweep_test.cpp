// SPDX-License-Identifier: GPL-3.0-or-later
// The die-size sweep: each point is the design button's run for its die size.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "layout/die_size_sweep.h"

using namespace kerf;

namespace {

SweepRequest request(const char* wafer, float diameter, double from, double to, int steps)
{
    SweepRequest r;
    r.base.texts = {wafer, "", "", "", ""};
    r.base.texts.effectiveDiameter = chooseWaferSize(wafer, 0).effectiveText;
    r.base.WaferDiameter = diameter;
    r.shapes.assign(DieShapeItems.begin(), DieShapeItems.end());
    r.fromMil = from;
    r.toMil = to;
    r.steps = steps;
    return r;
}

} // namespace

struct SweepCase {
    const char* name;
    double from, to;
    int steps;
    const char* fineTune;
    const char* effective;
};

class EveryPoint : public ::testing::TestWithParam<SweepCase> {};

// The sweep counts rows without laying them out: every point is still what
// the design button gives.
TEST_P(EveryPoint, IsTheDesignOfItsDieSize)
{
    const SweepCase& c = GetParam();
    SweepRequest r = request("5.0 Inches", 5.0f, c.from, c.to, c.steps);
    r.base.texts.fineTune = c.fineTune;
    if (c.effective)
        r.base.texts.effectiveDiameter = c.effective;
    const std::vector<SweepPoint> points = sweepDieSizes(r);
    ASSERT_EQ(points.size(), 3u * c.steps);
    int refused = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const SweepPoint& point = points[i];
        EXPECT_EQ(point.shape, DieShapeItems[i / c.steps]);
        EXPECT_EQ(point.dieSize, sweepDieSize(r, int(i % c.steps)));
        DesignInput input = r.base;
        input.texts.shape = point.shape;
        input.texts.dieSize = point.dieSize;
        const DesignOutcome outcome = runDesign(input);
        if (const auto* design = std::get_if<Design>(&outcome)) {
            ASSERT_TRUE(point.results) << point.shape << ' ' << point.dieSize;
            EXPECT_EQ(*point.results, design->results) << point.shape << ' ' << point.dieSize;
            EXPECT_TRUE(point.refusal.empty());
        } else {
            ++refused;
            ASSERT_FALSE(point.results) << point.shape << ' ' << point.dieSize;
            EXPECT_EQ(point.refusal, std::get<Refusal>(outcome).prompt);
        }
        EXPECT_EQ(sweepPoint(r, i).results, point.results); // one point alone gives the same
    }
    if (c.from < 0.1)
        EXPECT_GT(refused, 0);
}

// From sizes that are refused (too many dies in a row) to large ones, with a
// fine-tune; the smallest accepted dies of the whole wafer.
INSTANTIATE_TEST_SUITE_P(DieSizeSweep, EveryPoint,
                         ::testing::Values(SweepCase{"refused_to_large", 0.05, 400, 41, "2", nullptr},
                                           SweepCase{"smallest_dies", 0.2, 0.3, 4, "", "5"},
                                           SweepCase{"small_dies_fine_tune", 0.5, 5, 7, "0.3", "4.9"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DieSizeSweep, DieSizeTexts)
{
    const struct {
        double mil;
        const char* text;
    } cases[] = {{50, "50"}, {12.5, "12.5"}, {0.52262, "0.5226"}, {0.10005, "0.1001"}, {75.00001, "75"},
                 {1e-5, "0"},  {2000, "2000"}, {0.5, "0.5"}};
    for (const auto& c : cases)
        EXPECT_EQ(dieSizeText(c.mil), c.text) << c.mil;
    const SweepRequest r = request("2.0 Inches", 2.0f, 25, 75, 200);
    EXPECT_EQ(sweepDieSize(r, 0), "25");
    EXPECT_EQ(sweepDieSize(r, 199), "75");
    EXPECT_EQ(sweepDieSize(r, 1), "25.2513");
    EXPECT_EQ(sweepPointCount(r), 600u);
}

TEST(DieSizeSweep, RequestFaults)
{
    EXPECT_EQ(sweepRequestFault(request("2.0 Inches", 2.0f, 25, 75, 200)), std::nullopt);
    EXPECT_TRUE(sweepRequestFault(request("2.0 Inches", 2.0f, 0, 75, 200)));
    EXPECT_TRUE(sweepRequestFault(request("2.0 Inches", 2.0f, -1, 75, 200)));
    EXPECT_TRUE(sweepRequestFault(request("2.0 Inches", 2.0f, 75, 25, 200)));
    EXPECT_TRUE(sweepRequestFault(request("2.0 Inches", 2.0f, 25, 25, 200)));
    EXPECT_TRUE(sweepRequestFault(request("2.0 Inches", 2.0f, 25, 75, 1)));
    EXPECT_TRUE(sweepRequestFault(request("2.0 Inches", 2.0f, 25, 75, MaxSweepSteps + 1)));
    EXPECT_TRUE(sweepRequestFault(request("2.0 Inches", 2.0f, 25, std::nan(""), 200)));
    SweepRequest none = request("2.0 Inches", 2.0f, 25, 75, 200);
    none.shapes.clear();
    EXPECT_TRUE(sweepRequestFault(none));
}

TEST(DieSizeSweep, CsvNamesRefusedSizes)
{
    SweepRequest r = request("5.0 Inches", 5.0f, 0.05, 0.2, 3);
    r.shapes = {"Circle"};
    std::ostringstream csv;
    writeSweepCsv(csv, sweepDieSizes(r));
    EXPECT_EQ(csv.str(), "shape,die_mil,rows,dies,utilisation_percent,refusal\n"
                         "Circle,0.05,,,,晶粒尺寸太小，一列會超過 32767 個晶粒，請加大晶粒尺寸。\n"
                         "Circle,0.125,,,,晶粒尺寸太小，一列會超過 32767 個晶粒，請加大晶粒尺寸。\n"
                         "Circle,0.2,27455,512111211,90.79,\n");
    std::ostringstream quoted;
    writeSweepCsv(quoted, {SweepPoint{"Circle", "1", 1, std::nullopt, "a, \"b\""}});
    EXPECT_EQ(quoted.str(), "shape,die_mil,rows,dies,utilisation_percent,refusal\nCircle,1,,,,\"a, \"\"b\"\"\"\n");
}
