// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

#include "program/writer/generation_driver.h"
#include "tests/support/design_helpers.h"
#include "tests/support/generated_programs.h"
#include "tests/support/program_text.h"
#include "tests/support/temporary_folder.h"

// Whole programs against the files in golden/<case>/: input.txt holds the
// designer's and the generation window's boxes as "key=value" lines,
// expected.TXT the program. KERF_REGENERATE_GOLDEN=1 rewrites expected.TXT
// from the current generators; every rewritten diff is to be reviewed.

using namespace kerf;
using namespace kerf::testing;

namespace {

const std::filesystem::path GoldenFolder = KERF_GOLDEN_DIR;

std::vector<std::string> goldenCases()
{
    std::vector<std::string> cases;
    for (const auto& entry : std::filesystem::directory_iterator(GoldenFolder))
        if (entry.is_directory())
            cases.push_back(entry.path().filename().string());
    std::sort(cases.begin(), cases.end());
    return cases;
}

std::map<std::string, std::string> readInput(const std::filesystem::path& path)
{
    std::map<std::string, std::string> values;
    std::istringstream lines(readFile(path));
    for (std::string line; std::getline(lines, line);)
        if (const auto equals = line.find('='); equals != std::string::npos)
            values[line.substr(0, equals)] = line.substr(equals + 1);
    return values;
}

/// "" when the texts are equal, else the first line where they differ, both ways.
std::string firstDifference(const std::string& actual, const std::string& expected)
{
    if (actual == expected)
        return "";
    std::istringstream a(actual), e(expected);
    std::string lineA, lineE;
    for (int number = 1;; ++number) {
        const bool moreA = static_cast<bool>(std::getline(a, lineA));
        const bool moreE = static_cast<bool>(std::getline(e, lineE));
        if (!moreA && !moreE)
            return "the texts differ only in their last line end";
        if (moreA != moreE || lineA != lineE)
            return "line " + std::to_string(number) + ": written \"" + (moreA ? lineA : "(end)") +
                   "\", expected \"" + (moreE ? lineE : "(end)") + "\"";
    }
}

class GoldenProgram : public ::testing::TestWithParam<std::string> {};

} // namespace

TEST_P(GoldenProgram, MatchesItsExpectedFile)
{
    const std::filesystem::path folder = GoldenFolder / GetParam();
    auto input = readInput(folder / "input.txt");
    const WaferLayout layout = designedLayout(input["wafer"], input["shape"], input["die"], input["gap"]);

    GenerationRequest request;
    request.date = TestDate;
    const GenerationTexts defaults;
    const auto box = [&](const char* key, const std::string& fallback) {
        return input.count(key) ? input[key] : fallback;
    };
    request.texts = {box("name", "job"), box("passes", defaults.passes), box("dvl", defaults.DVL),
                     box("dac", defaults.DAC), box("vel", defaults.VEL), box("acc", defaults.ACC)};
    std::ostringstream out;
    const auto outcome = runGeneration(layout, request, std::ref(out));
    ASSERT_TRUE(std::holds_alternative<GenerationDone>(outcome));
    programLines(out.str()); // every line ends in CR LF

    const std::filesystem::path expected = folder / "expected.TXT";
    if (const char* regenerate = std::getenv("KERF_REGENERATE_GOLDEN"); regenerate && std::string(regenerate) == "1") {
        std::ofstream(expected, std::ios::binary) << out.str();
        GTEST_SKIP() << "rewrote " << expected;
    }
    ASSERT_TRUE(std::filesystem::exists(expected)) << "no " << expected << ": run with KERF_REGENERATE_GOLDEN=1";
    EXPECT_EQ(firstDifference(out.str(), readFile(expected)), "") << "program differs from " << expected;
}

INSTANTIATE_TEST_SUITE_P(Cases, GoldenProgram, ::testing::ValuesIn(goldenCases()),
                         [](const auto& info) {
                             std::string name = info.param;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });
