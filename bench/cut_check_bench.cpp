// SPDX-License-Identifier: GPL-3.0-or-later
// Checking generated programs against their layouts: reading the text,
// running it by its runs of equal motions (or motion by motion, the literal
// reference) and matching them with the dies' rows, for 5-inch wafers down
// to the smallest accepted dies (0.18 mil circles and hexagons, 0.16 mil
// squares: some 7e8 dies).
#include <benchmark/benchmark.h>

#include <sstream>
#include <string>

#include "program/check/cut_check.h"
#include "program/writer/program_generator.h"
#include "layout/design_driver.h"

using namespace kerf;

namespace {

const char* const Shapes[] = {"Circle", "Hexagon", "Square"};
const char* const Dies[] = {"20", "5", "1", "0.18", "0.16"};

struct Job {
    WaferLayout layout;
    std::string text;
};

Job jobFor(int shape, int die, int passes)
{
    DesignInput input;
    input.WaferDiameter = 5.0f;
    input.texts = {"5.0 Inches", "5", Shapes[shape], Dies[die], ""};
    DesignOutcome outcome = runDesign(input);
    auto* design = std::get_if<Design>(&outcome);
    if (!design)
        return {};
    ProgramParameters parameters;
    parameters.header = {"BENCH", "5.0 Inches", Shapes[shape], Dies[die], "", "0.6", "6.0",
                         std::chrono::year(2004) / std::chrono::March / 5};
    parameters.CutCount = static_cast<std::int16_t>(passes);
    parameters.VEL = "0.6";
    parameters.ACC = "6.0";
    std::ostringstream out;
    generatorFor(design->layout.shape, parameters.CutCount)(out, design->layout, parameters);
    return {std::move(design->layout), out.str()};
}

// The check button of a program file: parse, run, match with the dies.
// Arguments: shape, die size, passes, literal run (0 or 1).
void BM_CheckProgram(benchmark::State& state)
{
    const int passes = static_cast<int>(state.range(2));
    const Job job = jobFor(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), passes);
    CutCheckOptions options;
    options.literal = state.range(3) != 0;
    CutReport report;
    for (auto _ : state) {
        auto result = checkProgramText(job.text, job.layout, options);
        if (!std::holds_alternative<CutReport>(result)) {
            state.SkipWithError("not a well-formed program");
            return;
        }
        report = std::get<CutReport>(std::move(result));
        benchmark::DoNotOptimize(report);
    }
    if (report.unchecked != Unchecked::No)
        state.SkipWithError("could not be checked");
    else if (!report.clean())
        state.SkipWithError("the generated program is not reported clean");
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * report.motions));
    state.SetLabel(std::string(Shapes[state.range(0)]) + " " + Dies[state.range(1)] + " mil, " +
                   std::to_string(passes) + " pass(es), " + std::to_string(report.dies) + " dies, " +
                   std::to_string(report.motions) + " moves" + (options.literal ? ", literal" : ""));
}

} // namespace

BENCHMARK(BM_CheckProgram)
    ->ArgsProduct({{0, 1, 2}, {0, 1, 2}, {1}, {0, 1}})
    ->Args({1, 2, 2, 0})
    ->Args({1, 2, 2, 1})
    ->Args({2, 2, 3, 0})
    // The worst accepted inputs of each shape.
    ->Args({0, 3, 1, 0})
    ->Args({0, 3, 1, 1})
    ->Args({1, 3, 1, 0})
    ->Args({1, 3, 2, 0})
    ->Args({2, 4, 1, 0})
    ->Args({2, 4, 1, 1})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

BENCHMARK_MAIN();
