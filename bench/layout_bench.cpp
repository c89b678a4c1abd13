// SPDX-License-Identifier: GPL-3.0-or-later
// Design runs (layout and statistics) from large dies down to the smallest
// that the 16-bit limits accept on a 5-inch wafer, with the probe-by-probe walk
// beside them where it finishes in reasonable time.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <string>

#include "layout/design_driver.h"
#include "tests/layout/literal_walk.h"
#include "layout/simulation/simulation.h"

using namespace kerf;

namespace {

const char* const Shapes[] = {"Circle", "Hexagon", "Square"};
// Die sizes in mil; the last of each shape is the smallest the limits accept.
const char* const DieSizes[] = {"500", "100", "20", "5", "1", "0.5", "0.2", "0.1763", "0.1527"};

DesignInput inputFor(int shape, int die)
{
    DesignInput input;
    input.WaferDiameter = 5.0f;
    input.texts = {"5.0 Inches", "5", Shapes[shape], DieSizes[die], ""};
    return input;
}

void designLayouts(benchmark::State& state)
{
    const DesignInput input = inputFor(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    long long dies = 0;
    for (auto _ : state) {
        DesignOutcome outcome = runDesign(input);
        if (auto* design = std::get_if<Design>(&outcome))
            dies = std::stoll(design->results.dies);
        else
            state.SkipWithError("refused");
        benchmark::DoNotOptimize(outcome);
    }
    state.SetLabel(std::string(Shapes[state.range(0)]) + " " + DieSizes[state.range(1)] + " mil, "
                   + std::to_string(dies) + " dies");
}

void walkLiterally(benchmark::State& state)
{
    DesignOutcome outcome = runDesign(inputFor(static_cast<int>(state.range(0)), static_cast<int>(state.range(1))));
    const WaferLayout inputs = std::get<Design>(outcome).layout;
    for (auto _ : state) {
        WaferLayout layout = inputs;
        switch (state.range(0)) {
        case 0: testing::literalCircleDies(layout); break;
        case 1: testing::literalHexagonDies(layout); break;
        default: testing::literalSquareRows(layout); testing::literalSquareColumns(layout); break;
        }
        benchmark::DoNotOptimize(layout);
    }
    state.SetLabel(std::string(Shapes[state.range(0)]) + " " + DieSizes[state.range(1)] + " mil");
}

void simulateHexagons(benchmark::State& state)
{
    const SimulationInput input{DieSizes[state.range(0)], "5", 5.0f};
    for (auto _ : state)
        benchmark::DoNotOptimize(runSimulation(input));
    state.SetLabel(std::string(DieSizes[state.range(0)]) + " mil");
}

// The smallest dies of each shape with and without two oblique flats (5-inch
// usual lengths at 300 and 30 degrees): the flats cost a search per row end.
void designWithFlats(benchmark::State& state)
{
    const int shape = static_cast<int>(state.range(0));
    DesignInput input = inputFor(shape, shape == 2 ? 8 : 7);
    if (state.range(1) != 0)
        input.flats = {"42.5", "300", "27.5", "30"};
    long long dies = 0;
    for (auto _ : state) {
        DesignOutcome outcome = runDesign(input);
        if (auto* design = std::get_if<Design>(&outcome))
            dies = std::stoll(design->results.dies);
        else
            state.SkipWithError("refused");
        benchmark::DoNotOptimize(outcome);
    }
    state.SetLabel(std::string(Shapes[shape]) + (state.range(1) ? " two flats, " : " round, ") +
                   std::to_string(dies) + " dies");
}

void designArguments(benchmark::internal::Benchmark* b)
{
    for (int shape = 0; shape < 3; ++shape)
        for (int die = 0; die < 9; ++die)
            if ((die != 7 || shape != 2) && (die != 8 || shape == 2))
                b->Args({shape, die});
}

void walkArguments(benchmark::internal::Benchmark* b)
{
    for (int shape = 0; shape < 3; ++shape)
        for (int die = 0; die <= 4; ++die)
            b->Args({shape, die});
}

} // namespace

BENCHMARK(designLayouts)->Apply(designArguments)->Unit(benchmark::kMillisecond);
BENCHMARK(designWithFlats)->ArgsProduct({{0, 1, 2}, {0, 1}})->Unit(benchmark::kMillisecond);
BENCHMARK(walkLiterally)->Apply(walkArguments)->Unit(benchmark::kMillisecond);
BENCHMARK(simulateHexagons)->DenseRange(0, 7)->Unit(benchmark::kMillisecond);
// Measured as the desktop program runs: freed tables are kept for the next
// run (the program sets the same allocator threshold at start-up).
int main(int argc, char** argv)
{
    mallopt(M_TRIM_THRESHOLD, 512 << 20);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
