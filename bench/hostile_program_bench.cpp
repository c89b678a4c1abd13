// SPDX-License-Identifier: GPL-3.0-or-later
// Hostile programs through the check command's own steps (reading the file,
// running it by its runs, matching them with the dies): deep nesting, huge
// repeat counts, tiny steps, calls that double, endless input and a 280 MB
// program of 20 million lines. Each ends within the bounds of work and
// memory; the time is the benchmark's, the memory the process's peak
// resident size (maxRssMB, which only grows: run one case per process with
// --benchmark_filter=/N/ for its own peak).
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "program/reader/program_file.h"
#include "layout/design_driver.h"
#include "program/check/cut_check.h"
#include "tests/support/program_text.h"

using namespace kerf;

namespace {

using kerf::testing::nestedRepeats;

std::string doublingCalls(int depth)
{
    std::string text = "PN U0\nDI 1 10000\nII\nOS\nMI X 0.0001\nCS\nEI\n";
    for (int k = 1; k < depth; ++k)
        text += "PN U" + std::to_string(k) + "\nDI 1 10000\nII\nU" + std::to_string(k - 1) + "\nMI Y 0.0001\nU" +
                std::to_string(k - 1) + "\nEI\n";
    return text + "PN MAIN\nDI 1 10000\nII\nMA X -0.5 Y 0.1\nU" + std::to_string(depth - 1) + "\nEI\n";
}

std::string mainUnit(const std::string& body) { return "PN MAIN\nDI 1 10000\nII\n" + body + "EI\n"; }

/// The program file of case `index`, written once into the temporary folder.
std::string programFile(int index)
{
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("kerf-hostile-" + std::to_string(index) + ".TXT");
    if (index == 5)
        return "/dev/zero";
    if (std::filesystem::exists(path))
        return path.string();
    std::ofstream out(path, std::ios::binary);
    const std::string cut = "OS\nMI X 0.0002\nCS\n";
    switch (index) {
    case 0: out << mainUnit(nestedRepeats(200, "2", cut)); break;
    case 1: out << mainUnit(nestedRepeats(1000, "2", cut)); break;
    case 2: out << mainUnit(nestedRepeats(2, "100000", "OS\nMI X 0.0000001\nCS\n")); break;
    case 3: out << mainUnit(nestedRepeats(2, "4294967295", "OS\nMI X 0.1\nMI X -0.1\nCS\n")); break;
    case 4: out << doublingCalls(30); break;
    case 6: {
        out << "PN MAIN\nDI 1 10000\nII\n";
        std::string block;
        for (int k = 0; k < 1000; ++k)
            block += "MI X 0.000578\n";
        for (int k = 0; k < 20000; ++k)
            out << block;
        out << "EI\n";
        break;
    }
    }
    return path.string();
}

const char* const CaseNames[] = {"nest 200 deep", "nest 1000 deep", "1e5 x 1e5 tiny steps", "two SL 4294967295",
                                 "calls doubling 30 deep", "/dev/zero", "280 MB, 20 M lines"};

// Arguments: the case.
void checkHostilePrograms(benchmark::State& state)
{
    const int index = static_cast<int>(state.range(0));
    const std::string file = programFile(index);
    DesignInput input;
    input.WaferDiameter = 2.0f;
    input.texts = {"2.0 Inches", "1.9", "Hexagon", "300", ""};
    const WaferLayout layout = std::get<Design>(runDesign(input)).layout;
    int status = 0;
    for (auto _ : state) {
        const auto read = readProgramFile(file);
        if (const auto* refusal = std::get_if<ProgramFileRefusal>(&read)) {
            status = refusal->fault == ProgramFileFault::TooLarge ? 3 : 1;
            continue;
        }
        const CutReport report = checkCuts(*std::get<ProgramFile>(read).program, layout);
        status = report.unchecked != Unchecked::No ? 3 : report.clean() ? 0 : 1;
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.SetLabel(std::string(CaseNames[index]) + ", status " + std::to_string(status));
    state.counters["maxRssMB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}
BENCHMARK(checkHostilePrograms)->DenseRange(0, 6)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
