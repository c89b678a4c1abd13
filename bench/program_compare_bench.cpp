// SPDX-License-Identifier: GPL-3.0-or-later
// Two programs compared against one checked, on the worst accepted layouts
// of each shape (5-inch wafers, 0.18 mil circles and hexagons, 0.16 mil
// squares: some 7e8 dies): one pass against two, so that every die differs.
// The comparison checks both side by side and compares their rows of equal
// counts; the bar is twice the time of checking the larger program alone
// (the CPU column is the whole process's: both checks' threads).
#include <benchmark/benchmark.h>

#include <map>
#include <sstream>
#include <string>

#include "layout/design_driver.h"
#include "program/check/cut_check.h"
#include "program/compare/program_comparison.h"
#include "program/writer/program_generator.h"

using namespace kerf;

namespace {

const char* const Shapes[] = {"Circle", "Hexagon", "Square"};
const char* const Dies[] = {"0.18", "0.18", "0.16"};

const WaferLayout& layoutOf(int shape)
{
    static std::map<int, WaferLayout> layouts;
    if (!layouts.contains(shape)) {
        DesignInput input;
        input.WaferDiameter = 5.0f;
        input.texts = {"5.0 Inches", "5", Shapes[shape], Dies[shape], ""};
        layouts[shape] = std::get<Design>(runDesign(input)).layout;
    }
    return layouts[shape];
}

const std::string& programOf(int shape, int passes)
{
    static std::map<std::pair<int, int>, std::string> programs;
    auto& text = programs[{shape, passes}];
    if (text.empty()) {
        ProgramParameters parameters;
        parameters.header = {"BENCH", "5.0 Inches", Shapes[shape], Dies[shape], "", "0.6", "6.0",
                             std::chrono::year(2004) / std::chrono::March / 5};
        parameters.CutCount = static_cast<std::int16_t>(passes);
        parameters.VEL = "0.6";
        parameters.ACC = "6.0";
        std::ostringstream out;
        generatorFor(layoutOf(shape).shape, parameters.CutCount)(out, layoutOf(shape), parameters);
        text = out.str();
    }
    return text;
}

Program parsed(const std::string& text) { return std::get<Program>(parseProgram(text)); }

// One program read and checked. Arguments: shape, passes.
void BM_CheckOne(benchmark::State& state)
{
    const int shape = static_cast<int>(state.range(0));
    const int passes = static_cast<int>(state.range(1));
    const std::string& text = programOf(shape, passes);
    CutReport report;
    for (auto _ : state) {
        report = checkCuts(parsed(text), layoutOf(shape));
        benchmark::DoNotOptimize(report);
    }
    if (!report.clean())
        state.SkipWithError("the generated program is not reported clean");
    state.SetLabel(std::string(Shapes[shape]) + ", " + std::to_string(passes) + " pass(es), " +
                   std::to_string(report.dies) + " dies");
}

// The programs of one and of two passes read and compared. Argument: shape.
void BM_ComparePair(benchmark::State& state)
{
    const int shape = static_cast<int>(state.range(0));
    const std::string& one = programOf(shape, 1);
    const std::string& two = programOf(shape, 2);
    ProgramComparison comparison;
    for (auto _ : state) {
        comparison = comparePrograms(parsed(one), parsed(two), layoutOf(shape));
        benchmark::DoNotOptimize(comparison);
    }
    if (!comparison.checked() || comparison.differingDies != comparison.a.dies)
        state.SkipWithError("not every die differs");
    state.SetLabel(std::string(Shapes[shape]) + ", " + std::to_string(comparison.differingDies) +
                   " dies differ in " + std::to_string(comparison.stretches.size()) + " stretches");
}

} // namespace

BENCHMARK(BM_CheckOne)
    ->ArgsProduct({{0, 1, 2}, {1, 2}})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Iterations(3);
BENCHMARK(BM_ComparePair)
    ->DenseRange(0, 2)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Iterations(3);

BENCHMARK_MAIN();
