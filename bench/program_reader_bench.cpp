// SPDX-License-Identifier: GPL-3.0-or-later
// Reading generated programs back: checking and compiling the text, and
// expanding it move by move into a visitor that keeps nothing, for 5-inch
// wafers down to 1-mil dies (some 20 million of them).
#include <benchmark/benchmark.h>

#include <sstream>
#include <string>

#include "program/writer/program_generator.h"
#include "program/reader/program_reader.h"
#include "program/reader/program_runs.h"
#include "layout/design_driver.h"

using namespace kerf;

namespace {

const char* const Shapes[] = {"Circle", "Hexagon", "Square"};
const char* const DieSizes[] = {"20", "5", "1"};

struct Written {
    std::string text;
    long long dies = 0;
};

Written programFor(int shape, int die, int passes)
{
    DesignInput input;
    input.WaferDiameter = 5.0f;
    input.texts = {"5.0 Inches", "5", Shapes[shape], DieSizes[die], ""};
    DesignOutcome outcome = runDesign(input);
    const auto* design = std::get_if<Design>(&outcome);
    if (!design)
        return {};
    ProgramParameters parameters;
    parameters.header = {"BENCH", "5.0 Inches", Shapes[shape], DieSizes[die], "", "0.6", "6.0",
                         std::chrono::year(2004) / std::chrono::March / 5};
    parameters.CutCount = static_cast<std::int16_t>(passes);
    parameters.VEL = "0.6";
    parameters.ACC = "6.0";
    std::ostringstream out;
    generatorFor(design->layout.shape, parameters.CutCount)(out, design->layout, parameters);
    return {out.str(), std::stoll(design->results.dies)};
}

void parseGeneratedProgram(benchmark::State& state)
{
    const Written program = programFor(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), 1);
    for (auto _ : state) {
        auto parsed = parseProgram(program.text);
        benchmark::DoNotOptimize(parsed);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * program.text.size()));
    state.SetLabel(std::string(Shapes[state.range(0)]) + " " + DieSizes[state.range(1)] + " mil, " +
                   std::to_string(program.text.size()) + " bytes");
}

void runGeneratedProgram(benchmark::State& state)
{
    const int passes = static_cast<int>(state.range(2));
    const Written program = programFor(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), passes);
    auto parsed = parseProgram(program.text);
    if (!std::holds_alternative<Program>(parsed)) {
        state.SkipWithError("not a well-formed program");
        return;
    }
    const Program& compiled = std::get<Program>(parsed);
    for (auto _ : state) {
        double cut = 0;
        const RunSummary summary = runProgram(compiled, [&cut](const Motion& m) {
            if (m.cutting)
                cut += m.to.x;
        });
        benchmark::DoNotOptimize(cut);
        benchmark::DoNotOptimize(summary);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * compiled.expandedMotions()));
    state.SetLabel(std::string(Shapes[state.range(0)]) + " " + DieSizes[state.range(1)] + " mil, " +
                   std::to_string(passes) + " pass(es), " + std::to_string(program.dies) + " dies, " +
                   std::to_string(compiled.expandedMotions()) + " moves, " +
                   std::to_string(compiled.expandedSteps()) + " steps");
}

// The same programs run by their runs of equal motions.
void runGeneratedProgramRuns(benchmark::State& state)
{
    const int passes = static_cast<int>(state.range(2));
    const Written program = programFor(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), passes);
    auto parsed = parseProgram(program.text);
    if (!std::holds_alternative<Program>(parsed)) {
        state.SkipWithError("not a well-formed program");
        return;
    }
    const Program& compiled = std::get<Program>(parsed);
    std::uint64_t runs = 0;
    for (auto _ : state) {
        runs = 0;
        const RunSummary summary = runProgramRuns(compiled, [&runs](const MotionRun&) { ++runs; });
        benchmark::DoNotOptimize(summary);
    }
    state.SetLabel(std::string(Shapes[state.range(0)]) + " " + DieSizes[state.range(1)] + " mil, " +
                   std::to_string(passes) + " pass(es), " + std::to_string(compiled.expandedMotions()) + " moves in " +
                   std::to_string(runs) + " runs");
}

} // namespace

BENCHMARK(parseGeneratedProgram)->ArgsProduct({{0, 1, 2}, {0, 2}})->Unit(benchmark::kMillisecond);
BENCHMARK(runGeneratedProgram)
    ->ArgsProduct({{0, 1, 2}, {0, 1, 2}, {1, 2}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

BENCHMARK(runGeneratedProgramRuns)->ArgsProduct({{0, 1, 2}, {0, 1, 2}, {1, 2}})->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
