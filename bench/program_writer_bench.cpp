// SPDX-License-Identifier: GPL-3.0-or-later
// Writing the cutting program for the largest layouts of each shape on a
// 5-inch wafer (0.2-mil round and hexagonal dies, 0.15-mil squares: close to
// 32767 rows) and for 1-mil dies. The text grows with the rows, never with
// the dies: each row is one repeat block.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <ostream>
#include <streambuf>

#include "program/writer/generation_driver.h"
#include "program/writer/program_generator.h"
#include "layout/design_driver.h"

using namespace kerf;

namespace {

// A stream buffer that only counts what is written to it.
class CountingBuffer : public std::streambuf {
public:
    long long bytes = 0;

protected:
    std::streamsize xsputn(const char*, std::streamsize count) override
    {
        bytes += count;
        return count;
    }
    int_type overflow(int_type ch) override
    {
        ++bytes;
        return traits_type::not_eof(ch);
    }
};

WaferLayout layoutOf(const char* shape, const char* dieSize)
{
    DesignInput input;
    input.WaferDiameter = 5.0f;
    input.texts = {"5.0 Inches", "4.75", shape, dieSize, ""};
    DesignOutcome outcome = runDesign(input);
    if (auto* design = std::get_if<Design>(&outcome))
        return std::move(design->layout);
    return {};
}

void writeProgram(benchmark::State& state, const char* shape, const char* dieSize, std::int16_t passes)
{
    const WaferLayout layout = layoutOf(shape, dieSize);
    if (layout.RowTable.upperBound() < 1) {
        state.SkipWithError("no layout");
        return;
    }
    ProgramParameters parameters;
    parameters.header = {"BENCH", "5.0 Inches", shape, dieSize, "", "0.6", "6.0",
                         std::chrono::year(2004) / std::chrono::March / 5};
    parameters.CutCount = passes;
    parameters.VEL = "0.6";
    parameters.ACC = "6.0";
    const ProgramGenerator generate = generatorFor(layout.shape, passes);
    long long bytes = 0;
    for (auto _ : state) {
        CountingBuffer buffer;
        std::ostream out(&buffer);
        generate(out, layout, parameters);
        bytes = buffer.bytes;
    }
    state.SetBytesProcessed(bytes * state.iterations());
    state.counters["rows"] = layout.RowTable.upperBound() + layout.ColumnTable.upperBound();
    state.counters["bytes"] = static_cast<double>(bytes);
}

// The whole start button: checks, CP950, a new file, fsync and rename.
void generateFile(benchmark::State& state, const char* shape, const char* dieSize)
{
    const WaferLayout layout = layoutOf(shape, dieSize);
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("kerf-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directory(folder);
    GenerationRequest request;
    request.texts.name = "BENCH";
    request.date = std::chrono::year(2004) / std::chrono::March / 5;
    for (auto _ : state) {
        const GenerationOutcome outcome = runGeneration(layout, request, OutputFolder{folder});
        if (!std::holds_alternative<GenerationDone>(outcome))
            state.SkipWithError("generation failed");
    }
    state.SetBytesProcessed(static_cast<long long>(std::filesystem::file_size(folder / "BENCH.TXT")) *
                            state.iterations());
    std::filesystem::remove_all(folder);
}

} // namespace

BENCHMARK_CAPTURE(writeProgram, CircleLargest, "Circle", "0.2", 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(writeProgram, Circle1Mil, "Circle", "1", 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(writeProgram, HexagonOneWayLargest, "Hexagon", "0.2", 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(writeProgram, HexagonTwoWayLargest, "Hexagon", "0.2", 2)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(writeProgram, Hexagon1Mil, "Hexagon", "1", 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(writeProgram, SquareLargest, "Square", "0.15", 3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(writeProgram, Square1Mil, "Square", "1", 3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(generateFile, HexagonLargestToFile, "Hexagon", "0.2")->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
