// SPDX-License-Identifier: GPL-3.0-or-later
// The programs of wafers with flats: every shape and hexagon mode, every
// wafer, flats at the quarter turns and oblique, one or two. Each program is
// checked fast and literally, and a judge of its own runs it motion by motion:
// no cutting motion reaches past a keep-out line.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

#include "layout/design_driver.h"
#include "program/check/cut_check.h"
#include "tests/support/generated_programs.h"

using namespace kerf;

namespace {

struct FlattedCase {
    const char* wafer;
    const char* shape;
    const char* die;
    const char* gap;
    FlatTexts flats;
    int passes;
};

void PrintTo(const FlattedCase& c, std::ostream* os)
{
    *os << c.wafer << ' ' << c.shape << ' ' << c.die << " flats " << c.flats.length << '@' << c.flats.at << ' '
        << c.flats.secondLength << '@' << c.flats.secondAt << " passes " << c.passes;
}

// How far past the keep-out lines a motion reaches, inches: its ends, and for
// an arc every point of it sampled finely.
double reachPastLines(const Motion& m, const std::vector<KeepOutLine>& lines)
{
    double worst = -INFINITY;
    const auto at = [&](ProgramPoint p) {
        for (const KeepOutLine& l : lines)
            worst = std::max(worst, p.x * l.nx + p.y * l.ny - l.k);
    };
    at(m.from);
    at(m.to);
    if (m.kind == MotionKind::Arc) {
        const double start = std::atan2(m.from.y - m.centre.y, m.from.x - m.centre.x);
        for (int s = 0; s <= 720; ++s) {
            const double angle = start + m.sweepDegrees * std::numbers::pi / 180 * s / 720;
            at({m.centre.x + m.radius() * std::cos(angle), m.centre.y + m.radius() * std::sin(angle)});
        }
    }
    return worst;
}

class FlattedPrograms : public ::testing::TestWithParam<FlattedCase> {};

TEST_P(FlattedPrograms, CutEveryKeptDieAndNothingPastAKeepOutLine)
{
    const FlattedCase& c = GetParam();
    DesignInput input;
    input.WaferDiameter = chooseWaferSize(c.wafer, 0).WaferDiameter;
    input.texts = {c.wafer, chooseWaferSize(c.wafer, 0).effectiveText, c.shape, c.die, c.gap};
    input.flats = c.flats;
    const DesignOutcome outcome = runDesign(input);
    ASSERT_TRUE(std::holds_alternative<Design>(outcome));
    const WaferLayout& layout = std::get<Design>(outcome).layout;
    ASSERT_FALSE(layout.flats.empty());
    const std::string text = kerf::testing::programFor(layout, c.passes);

    for (const bool literal : {false, true}) {
        CutCheckOptions options;
        options.literal = literal;
        const auto result = checkProgramText(text, layout, options);
        ASSERT_TRUE(std::holds_alternative<CutReport>(result));
        const CutReport& report = std::get<CutReport>(result);
        EXPECT_EQ(report.uncutDies, 0) << literal;
        EXPECT_EQ(report.outsideCuts, 0) << literal;
        EXPECT_EQ(report.strayCuts, 0) << literal;
        EXPECT_EQ(report.dies, std::stoll(std::get<Design>(outcome).results.dies)) << literal;
        EXPECT_EQ(report.diesFullyCut, report.dies) << literal;
    }

    const auto lines = keepOutLines(layout.flats, layout.WaferDiameter, layout.EffectiveRadius);
    const Program program = std::get<Program>(parseProgram(text));
    const double shift = layout.FineTune.toDouble() / 2; // round dies' arcs sit half the fine-tune left
    double worst = -INFINITY;
    runProgram(program, [&](const Motion& m) {
        if (m.cutting)
            worst = std::max(worst, reachPastLines(m, lines));
        return true;
    });
    EXPECT_LE(worst, shift + 1e-6);
}

INSTANTIATE_TEST_SUITE_P(
    EveryShape, FlattedPrograms,
    ::testing::Values(FlattedCase{"2.0 Inches", "Circle", "100", "", {"15.88", "", "8", "180"}, 1},
                      FlattedCase{"3.0 Inches", "Circle", "90", "3", {"22.22", "315", "", ""}, 2},
                      FlattedCase{"5.0 Inches", "Circle", "150", "", {"42.5", "0", "27.5", "90"}, 1},
                      FlattedCase{"2.5 Inches", "Square", "70", "", {"20", "270", "", ""}, 1},
                      FlattedCase{"4.0 Inches", "Square", "100", "", {"32.5", "315", "18", "45"}, 3},
                      FlattedCase{"5.0 Inches", "Square", "120", "", {"42.5", "180", "27.5", "270"}, 1},
                      FlattedCase{"2.0 Inches", "Hexagon", "80", "", {"15.88", "", "", ""}, 1},
                      FlattedCase{"4.0 Inches", "Hexagon", "100", "", {"32.5", "", "18", "180"}, 1},
                      FlattedCase{"4.0 Inches", "Hexagon", "100", "", {"32.5", "", "18", "180"}, 2},
                      FlattedCase{"3.0 Inches", "Hexagon", "90", "", {"22.22", "315", "11.18", "33.3"}, 3},
                      FlattedCase{"3.0 Inches", "Hexagon", "90", "", {"22.22", "315", "11.18", "33.3"}, 4},
                      FlattedCase{"5.0 Inches", "Hexagon", "200", "", {"60", "90", "40", "200"}, 2},
                      FlattedCase{"2.5 Inches", "Hexagon", "60", "", {"63.5", "10", "", ""}, 1}));

TEST(FlattedCheck, ARoundWafersProgramCutsPastTheFlat)
{
    DesignInput input;
    input.WaferDiameter = 4.0f;
    input.texts = {"4.0 Inches", "3.8", "Square", "100", ""};
    const WaferLayout round = std::get<Design>(runDesign(input)).layout;
    input.flats = {"32.5", "", "", ""};
    const WaferLayout flatted = std::get<Design>(runDesign(input)).layout;
    const auto result = checkProgramText(kerf::testing::programFor(round), flatted);
    const CutReport& report = std::get<CutReport>(result);
    EXPECT_GT(report.outsideCuts, 0);
    EXPECT_EQ(report.uncutDies, 0);
}

} // namespace
