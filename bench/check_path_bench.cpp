// SPDX-License-Identifier: GPL-3.0-or-later
// The check command's whole path for a generated program file on a 5-inch
// wafer (effective diameter 5): reading the file, laying out the dies and
// checking the cuts, from a 100-mil hexagon (a few kB) to the worst
// accepted ones (0.18 mil hexagons in 2 passes: 4.8 MB, and the 0.18 mil
// circles and 0.16 mil squares). The time is the benchmark's; maxRssMB is
// the process's peak resident size, which only grows: run one case per
// process (--benchmark_filter=/N/) for its own peak.
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "layout/design_driver.h"
#include "program/check/cut_check.h"
#include "program/reader/program_file.h"
#include "program/writer/program_generator.h"

using namespace kerf;

namespace {

struct Case {
    const char* shape;
    const char* die;
    int passes;
};
const Case Cases[] = {{"Hexagon", "100", 2}, {"Hexagon", "0.18", 2}, {"Circle", "0.18", 1}, {"Square", "0.16", 1}};

DesignInput designInput(const Case& c)
{
    DesignInput input;
    input.WaferDiameter = 5.0f;
    input.texts = {"5.0 Inches", "5", c.shape, c.die, ""};
    return input;
}

/// The program file of a case, written once into the temporary folder.
std::string programFile(int index)
{
    const Case& c = Cases[index];
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("kerf-check-path-" + std::to_string(index) + ".TXT");
    if (std::filesystem::exists(path))
        return path.string();
    const Design design = std::get<Design>(runDesign(designInput(c)));
    ProgramParameters parameters;
    parameters.header = {"BENCH", "5.0 Inches", c.shape, c.die, "", "0.6", "6.0",
                         std::chrono::year(2026) / std::chrono::December / 9};
    parameters.CutCount = static_cast<std::int16_t>(c.passes);
    parameters.VEL = "0.6";
    parameters.ACC = "6.0";
    std::ofstream out(path, std::ios::binary);
    generatorFor(design.layout.shape, parameters.CutCount)(out, design.layout, parameters);
    return path.string();
}

// Arguments: the case.
void checkProgramFilePath(benchmark::State& state)
{
    const int index = static_cast<int>(state.range(0));
    const Case& c = Cases[index];
    const std::string file = programFile(index);
    CutReport report;
    for (auto _ : state) {
        const auto read = readProgramFile(file);
        const DesignOutcome outcome = runDesign(designInput(c));
        if (!std::holds_alternative<ProgramFile>(read) || !std::holds_alternative<Design>(outcome)) {
            state.SkipWithError("the program file or the layout was refused");
            return;
        }
        report = checkCuts(*std::get<ProgramFile>(read).program, std::get<Design>(outcome).layout);
        benchmark::DoNotOptimize(report);
    }
    if (!report.clean())
        state.SkipWithError("the generated program is not reported clean");
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.SetLabel(std::string(c.shape) + " " + c.die + " mil, " + std::to_string(c.passes) + " pass(es), " +
                   std::to_string(std::filesystem::file_size(file)) + " bytes");
    state.counters["maxRssMB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}
BENCHMARK(checkProgramFilePath)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->MinTime(0.5);

} // namespace

BENCHMARK_MAIN();
