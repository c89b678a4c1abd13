// SPDX-License-Identifier: GPL-3.0-or-later
// The run by runs of equal motions against the literal run, and the machine
// time estimate by hand-computed cases.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "program/writer/generation_driver.h"
#include "program/reader/program_runs.h"
#include "program/reader/reading_error_text.h"
#include "tests/support/design_helpers.h"

using namespace kerf;

namespace {

std::string mainUnit(const std::string& body) { return "PN MAIN\nDI 1 10000\nII\n" + body + "EI\n"; }

Program parsed(const std::string& text)
{
    auto result = parseProgram(text);
    if (auto* error = std::get_if<ProgramError>(&result)) {
        ADD_FAILURE() << readingErrorText(*error);
        return {};
    }
    return std::get<Program>(std::move(result));
}

std::string generated(const std::string& wafer, const std::string& shape, const std::string& die, int passes)
{
    const WaferLayout layout = kerf::testing::designed(wafer, shape, die).layout;
    GenerationRequest generation;
    generation.texts.name = "JOB";
    generation.texts.passes = std::to_string(passes);
    generation.date = std::chrono::year(2004) / std::chrono::March / 5;
    std::ostringstream out;
    runGeneration(layout, generation, std::ref(static_cast<std::ostream&>(out)));
    return out.str();
}

struct Placed {
    std::uint64_t ordinal;
    Motion motion;
};

/// Every copy of every run, in the machine's order.
std::vector<Placed> expanded(const Program& program, RunSummary& summary)
{
    std::vector<Placed> all;
    summary = runProgramRuns(program, [&all](const MotionRun& run) {
        std::vector<std::uint64_t> index(MaxRunLevels, 0);
        for (;;) {
            const ProgramPoint d = run.offsetOf(index.data());
            Motion m = run.first;
            m.from = {m.from.x + d.x, m.from.y + d.y};
            m.to = {m.to.x + d.x, m.to.y + d.y};
            if (m.kind == MotionKind::Arc)
                m.centre = {m.centre.x + d.x, m.centre.y + d.y};
            std::uint64_t ordinal = run.ordinal;
            bool retraced = m.retrace;
            for (std::size_t k = 0; k < run.depth; ++k) {
                ordinal += index[k] * run.levels[k].motions;
                retraced |= index[k] > 0 && run.levels[k].step == ProgramPoint{};
            }
            m.retrace = retraced;
            all.push_back({ordinal, m});
            std::size_t l = 0;
            for (; l < run.depth; ++l) {
                if (++index[l] < run.levels[l].count)
                    break;
                index[l] = 0;
            }
            if (l == run.depth)
                break;
        }
    });
    std::sort(all.begin(), all.end(), [](const Placed& a, const Placed& b) { return a.ordinal < b.ordinal; });
    return all;
}

void expectSameRun(const std::string& text, const std::string& what)
{
    const Program program = parsed(text);
    std::vector<Motion> literal;
    const RunSummary reference = runProgram(program, [&literal](const Motion& m) { literal.push_back(m); });
    RunSummary summary;
    const std::vector<Placed> copies = expanded(program, summary);
    ASSERT_EQ(copies.size(), literal.size()) << what;
    for (std::size_t i = 0; i < copies.size(); ++i) {
        const Motion& a = copies[i].motion;
        const Motion& b = literal[i];
        ASSERT_EQ(copies[i].ordinal, i) << what;
        EXPECT_EQ(a.line, b.line) << what << " motion " << i;
        EXPECT_EQ(a.kind, b.kind) << what << " motion " << i;
        EXPECT_EQ(a.cutting, b.cutting) << what << " motion " << i;
        EXPECT_EQ(a.retrace, b.retrace) << what << " motion " << i;
        EXPECT_NEAR(a.from.x, b.from.x, 1e-9) << what << " motion " << i;
        EXPECT_NEAR(a.from.y, b.from.y, 1e-9) << what << " motion " << i;
        EXPECT_NEAR(a.to.x, b.to.x, 1e-9) << what << " motion " << i;
        EXPECT_NEAR(a.to.y, b.to.y, 1e-9) << what << " motion " << i;
        EXPECT_NEAR(a.centre.x, b.centre.x, 1e-9) << what << " motion " << i;
        EXPECT_EQ(a.sweepDegrees, b.sweepDegrees) << what << " motion " << i;
    }
    EXPECT_EQ(summary.motions, reference.motions) << what;
    EXPECT_EQ(summary.cuttingMotions, reference.cuttingMotions) << what;
    EXPECT_EQ(summary.cuts, reference.cuts) << what;
    EXPECT_NEAR(summary.cutLength, reference.cutLength, 1e-9 * (1 + reference.cutLength)) << what;
    EXPECT_NEAR(summary.travelLength, reference.travelLength, 1e-9 * (1 + reference.travelLength)) << what;
    EXPECT_NEAR(summary.waitSeconds, reference.waitSeconds, 1e-9 * (1 + reference.waitSeconds)) << what;
    EXPECT_NEAR(summary.machineSeconds, reference.machineSeconds, 1e-9 * (1 + reference.machineSeconds)) << what;
    EXPECT_EQ(summary.machineTimeKnown, reference.machineTimeKnown) << what;
    EXPECT_NEAR(summary.final.head.x, reference.final.head.x, 1e-9) << what;
    EXPECT_NEAR(summary.final.head.y, reference.final.head.y, 1e-9) << what;
    EXPECT_EQ(summary.final.cutting, reference.final.cutting) << what;
    EXPECT_EQ(summary.final.laserOn, reference.final.laserOn) << what;
    EXPECT_NEAR(summary.final.zero.x, reference.final.zero.x, 1e-9) << what;
    EXPECT_NEAR(summary.final.zero.y, reference.final.zero.y, 1e-9) << what;
    EXPECT_EQ(summary.zeroShifts, reference.zeroShifts) << what;
    EXPECT_EQ(summary.zeroShiftLines, reference.zeroShiftLines) << what;
    EXPECT_FALSE(summary.beyondBounds) << what;
}

} // namespace

TEST(ProgramRuns, CopiesOfTheRunsAreTheLiteralMotions)
{
    for (const char* shape : {"Circle", "Hexagon", "Square"})
        for (const char* die : {"300", "120"})
            for (int passes = 1; passes <= 4; ++passes)
                expectSameRun(generated("2.0 Inches", shape, die, passes),
                              std::string(shape) + " " + die + " passes " + std::to_string(passes));
    // Hand-written: nested repeats, calls inside repeats, passes that first
    // differ and then repeat, absolute moves that undo or keep the offset,
    // speeds changed inside a pass, ZERO off the zero in and before passes
    // (the zero moving with the head or staying).
    const std::string sub = "PN S\nDI 1 10000\nII\nMI X 0.1 Y 0.2\nMI X 0.1 ARC 90\nEI\n";
    const std::string cases[] = {
        sub + mainUnit("SL 3\nSL 4\nS\nEL\nMI Y -1\nEL\n"),
        mainUnit("SL 5\nOS\nMI X 1\nEL\nCS\n"),
        mainUnit("SL 4\nMA X 2\nMI X 1 Y 1\nEL\n"),
        mainUnit("SL 4\nMA X 0\nMI Y 1\nEL\n"),
        mainUnit("SL 3\nOS\nMI X 1\nCS\nMI Y 1\nMA X 0\nEL\n"),
        mainUnit("SP DVL = 1\nSP DAC = 2\nSL 3\nMI X 1\nSP DVL = 2\nEL\n"),
        mainUnit("LASON\nSL 2\nOS\nSL 3\nMI X 1\nMI Y 1\nEL\nCS\nMA X 0 MA Y 0\nEL\nOFF\n"),
        mainUnit("SL 2\nSL 2\nSL 2\nSL 2\nSL 2\nMI X 1\nEL\nEL\nEL\nEL\nEL\n"),
        mainUnit("SL 3\nOS\nEL\nMI X 1\nSL 2\nCS\nOFF\nMI Y 1\nEL\n"),
        mainUnit("MI X 1\nSL 4\nMA X 0.5\nZERO\nMI Y 1\nEL\nMA X 0 Y 0\n"),
        mainUnit("SL 3\nMI X 1\nZERO\nEL\nSL 2\nSL 3\nMI Y 1\nZERO\nMA X 1\nEL\nEL\nMA X 0 Y 0\n"),
        mainUnit("MI Y 1\nZERO\nSL 3\nMA X 1\nMI Y 1\nMA X 0\nEL\nZERO\nMA Y 0\n"),
    };
    for (const std::string& text : cases)
        expectSameRun(text, text);
}

TEST(ProgramRuns, GeneratedProgramsTakeAFewRunsPerLine)
{
    const std::string text = generated("5.0 Inches", "Hexagon", "1", 2);
    const auto lines = static_cast<std::uint64_t>(std::count(text.begin(), text.end(), '\n'));
    const Program program = parsed(text);
    std::uint64_t runs = 0;
    const RunSummary summary = runProgramRuns(program, [&runs](const MotionRun&) { ++runs; });
    EXPECT_FALSE(summary.beyondBounds);
    EXPECT_LT(runs, 2 * lines);
    EXPECT_GT(summary.motions, 100'000'000u); // about 20 million dies
    EXPECT_EQ(summary.motions, program.expandedMotions());
}

TEST(ProgramRuns, HostileRepeatsEndWithinTheirBounds)
{
    // A billion equal passes: two runs.
    const Program diagonals = parsed(mainUnit("MA X -2 Y -1.16\nOS\nSL 1000000000\nMI X 4 Y 2.32\nMI X -4 Y -2.32\nEL\nCS\n"));
    std::vector<MotionRun> runs;
    const RunSummary summary = runProgramRuns(diagonals, [&runs](const MotionRun& r) { runs.push_back(r); });
    ASSERT_EQ(runs.size(), 3u); // the MA and the two runs
    EXPECT_EQ(runs[1].depth, 1);
    EXPECT_EQ(runs[1].levels[0].count, 1'000'000'000u);
    EXPECT_EQ(runs[1].levels[0].motions, 2u);
    EXPECT_EQ(runs[2].ordinal, 2u);
    EXPECT_EQ(summary.motions, 2'000'000'001u);
    EXPECT_FALSE(summary.beyondBounds);
    // Nested deeper than a run has levels, and too many passes to run one by one.
    std::string deep;
    for (int k = 0; k < 6; ++k)
        deep += "SL 100000\n";
    deep += "MI X 1\n";
    for (int k = 0; k < 6; ++k)
        deep += "EL\n";
    EXPECT_TRUE(runProgramRuns(parsed(mainUnit(deep)), [](const MotionRun&) {}).beyondBounds);
    // The literal run refuses what it cannot finish, before it starts.
    EXPECT_TRUE(runProgram(diagonals, [](const Motion&) { return true; }, ReadLimits{1000}).beyondBounds);
}

TEST(ProgramRuns, RepeatedStateWordsCompileToOne)
{
    std::string many;
    for (int k = 0; k < 100000; ++k)
        many += "OS\n";
    const Program program = parsed(mainUnit(many + "MI X 1\nCS\n"));
    EXPECT_EQ(program.expandedSteps(), 4u); // OS, MI, CS and the return
    const RunSummary summary = runProgramRuns(program, [](const MotionRun&) {});
    EXPECT_EQ(summary.cuts, 1u);
    EXPECT_EQ(summary.cuttingMotions, 1u);
}

// Each motion from rest to rest: a trapezoid of speed, or a triangle when
// the motion is shorter than its two ramps (v²/a).
TEST(MachineTime, HandComputedCases)
{
    // v 1 in/s, a 10 in/s²: the ramps take 0.1 in.
    EXPECT_NEAR(restToRestSeconds(0.05, 1, 10), 2 * std::sqrt(0.05 / 10), 1e-12); // triangle: 0.141421 s
    EXPECT_NEAR(restToRestSeconds(1.0, 1, 10), 1.0 / 1 + 1.0 / 10, 1e-12);         // 1.1 s
    EXPECT_NEAR(restToRestSeconds(0.1, 1, 10), 0.2, 1e-12);                         // just reaches full speed
    EXPECT_TRUE(std::isnan(restToRestSeconds(1, 0, 10)));

    const auto seconds = [](const std::string& body) {
        const Program program = parsed(mainUnit(body));
        return runProgramRuns(program, [](const MotionRun&) {});
    };
    // A move shorter than its ramps, one longer, waits.
    RunSummary s = seconds("SP DVL = 1\nSP DAC = 10\nMI X 0.05\nMI X 0.6 Y 0.8\nWT 1.5\nWT 0.25\n");
    EXPECT_TRUE(s.machineTimeKnown);
    EXPECT_NEAR(s.machineSeconds, 2 * std::sqrt(0.005) + 1.1 + 1.75, 1e-12);
    // An arc at its own VEL and ACC: a full turn of radius 0.5 is π in; its
    // ramps take 2²/4 = 1 in: π/2 + 2/4 s.
    s = seconds("SP DVL = 1\nSP DAC = 10\nMI X 0.5 ARC 360 VEL 2 ACC 4\n");
    EXPECT_NEAR(s.machineSeconds, std::numbers::pi / 2 + 0.5, 1e-12);
    // An arc without VEL or ACC goes at the moves' speeds.
    s = seconds("SP DVL = 1\nSP DAC = 10\nMI X 0.5 ARC 360\n");
    EXPECT_NEAR(s.machineSeconds, std::numbers::pi + 0.1, 1e-12);
    // A repeat of n equal motions takes n times one.
    s = seconds("SP DVL = 1\nSP DAC = 10\nSL 1000000\nMI X 1\nWT 0.1\nEL\n");
    EXPECT_NEAR(s.machineSeconds, 1e6 * 1.2, 1e-3);
    // No speed given: no estimate.
    EXPECT_FALSE(seconds("MI X 1\n").machineTimeKnown);
}
