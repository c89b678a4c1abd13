// SPDX-License-Identifier: GPL-3.0-or-later
// The die-size sweep of the largest layouts: 200 sizes of every shape on a
// 5-inch wafer from 0.5 to 5 mil, one after another as the command line
// runs them (the chart window spreads them over the worker threads).
#include <benchmark/benchmark.h>
#include <malloc.h>

#include "layout/die_size_sweep.h"

using namespace kerf;

namespace {

void sweepEveryShape(benchmark::State& state)
{
    SweepRequest request;
    request.base.texts = {"5.0 Inches", "4.75", "", "", ""};
    request.base.WaferDiameter = 5.0f;
    request.shapes.assign(DieShapeItems.begin(), DieShapeItems.end());
    request.fromMil = 0.5;
    request.toMil = 5;
    request.steps = 200;
    for (auto _ : state) {
        const std::vector<SweepPoint> points = sweepDieSizes(request);
        benchmark::DoNotOptimize(points.data());
    }
    state.counters["points"] = double(sweepPointCount(request));
}
BENCHMARK(sweepEveryShape)->Unit(benchmark::kMillisecond);

// The command line's largest sweep: 10 000 sizes of hexagons on a 5-inch
// wafer (effective 5), from 0.5 to 5 mil and from 0.2 to 0.3 mil (the
// smallest accepted, some 28 000 rows each). Arguments: the range in
// hundredths of a mil.
void sweepSmallestHexagons(benchmark::State& state)
{
    SweepRequest request;
    request.base.texts = {"5.0 Inches", "5", "", "", ""};
    request.base.WaferDiameter = 5.0f;
    request.shapes = {"Hexagon"};
    request.fromMil = static_cast<double>(state.range(0)) / 100;
    request.toMil = static_cast<double>(state.range(1)) / 100;
    request.steps = MaxSweepSteps;
    for (auto _ : state) {
        const std::vector<SweepPoint> points = sweepDieSizes(request);
        benchmark::DoNotOptimize(points.data());
    }
}
BENCHMARK(sweepSmallestHexagons)->Args({50, 500})->Args({20, 30})->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv)
{
    // As the desktop program does: freed tables are kept for the next run.
    mallopt(M_TRIM_THRESHOLD, 512 << 20);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
