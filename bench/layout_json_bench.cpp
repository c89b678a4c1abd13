// SPDX-License-Identifier: GPL-3.0-or-later
// The JSON of `kerfwright-cli design` for the largest layout the command
// accepts (5-inch wafer, effective 5, squares of 0.16 mil: about 62 500
// records, 6 MB) and for the 100-mil one, written into a stream that keeps
// nothing, so that only the writing is measured.
#include <benchmark/benchmark.h>

#include <ostream>
#include <streambuf>

#include "cli/layout_json.h"
#include "layout/design_driver.h"

using namespace kerf;

namespace {

// Counts the bytes and drops them.
class CountingBuffer : public std::streambuf {
public:
    std::size_t bytes = 0;

protected:
    std::streamsize xsputn(const char*, std::streamsize count) override
    {
        bytes += static_cast<std::size_t>(count);
        return count;
    }
    int_type overflow(int_type c) override
    {
        ++bytes;
        return traits_type::not_eof(c);
    }
};

void BM_LayoutJson(benchmark::State& state, const char* die)
{
    DesignInput input;
    input.WaferDiameter = 5.0f;
    input.texts = {"5.0 Inches", "5", "Square", die, ""};
    const DesignOutcome outcome = runDesign(input);
    const auto* design = std::get_if<Design>(&outcome);
    if (!design) {
        state.SkipWithError("refused");
        return;
    }
    std::size_t bytes = 0;
    for (auto _ : state) {
        CountingBuffer buffer;
        std::ostream out(&buffer);
        cli::writeLayoutJson(out, design->layout, design->results);
        bytes = buffer.bytes;
    }
    state.counters["records"] = design->layout.RowTable.upperBound() + design->layout.ColumnTable.upperBound();
    state.counters["bytes"] = static_cast<double>(bytes);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

} // namespace

BENCHMARK_CAPTURE(BM_LayoutJson, square_0_16mil, "0.16")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LayoutJson, square_100mil, "100")->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
