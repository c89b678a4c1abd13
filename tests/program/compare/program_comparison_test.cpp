// SPDX-License-Identifier: GPL-3.0-or-later
// Two programs compared die by die: rewritten programs are the same, broken
// ones differ exactly where a judge of the check's own lists says so.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "program/check/cut_check.h"
#include "program/compare/comparison_words.h"
#include "program/compare/program_comparison.h"
#include "tests/program/compare/program_rewrites.h"
#include "tests/support/design_helpers.h"
#include "tests/support/generated_programs.h"
#include "tests/support/program_mutants.h"
#include "tests/support/program_text.h"

using namespace kerf;
using namespace kerf::testing;

namespace {

Program parsed(const std::string& text)
{
    auto result = parseProgram(text);
    if (const auto* error = std::get_if<ProgramError>(&result))
        ADD_FAILURE() << "not a program: " << error->text();
    return std::get<Program>(std::move(result));
}

ProgramComparison compared(const std::string& a, const std::string& b, const WaferLayout& layout)
{
    return comparePrograms(parsed(a), parsed(b), layout);
}

using DieKey = std::pair<int, int>; // row, die

/// The judge: each die's count from the check's own lists of short dies,
/// asking for 1, 2, 3 … passes until every die is short; none when the text
/// is no program or could not be checked.
std::optional<std::map<DieKey, std::uint64_t>> judgedCounts(const std::string& text, const WaferLayout& layout)
{
    std::map<DieKey, std::uint64_t> counts;
    CutCheckOptions options;
    options.listLimit = 1 << 20;
    for (int passes = 1;; ++passes) {
        options.passes = passes;
        const auto result = checkProgramText(text, layout, options);
        if (result.index() != 0 || std::get<CutReport>(result).unchecked != Unchecked::No)
            return std::nullopt;
        const CutReport& report = std::get<CutReport>(result);
        // A die first short at `passes` is cut one time fewer.
        for (const UncutDie& die : report.uncut)
            counts.try_emplace({die.row, die.die}, passes - 1);
        if (report.uncutDies == report.dies)
            return counts;
    }
}

struct LayoutCase {
    const char* wafer;
    const char* shape;
    const char* die;
    const char* gap;
};

// Every shape, even and odd row counts, rows of one die, gaps.
const LayoutCase Layouts[] = {
    {"2.0 Inches", "Circle", "100", "2"},  {"2.0 Inches", "Circle", "700", ""}, {"2.0 Inches", "Hexagon", "600", ""},
    {"2.0 Inches", "Hexagon", "150", "2"}, {"3.0 Inches", "Hexagon", "220", "5"}, {"2.0 Inches", "Square", "100", "2"},
    {"2.0 Inches", "Square", "900", ""},
};

std::string nameOf(const LayoutCase& c, int passes)
{
    return std::string(c.shape) + " " + c.die + "/" + c.gap + " passes " + std::to_string(passes);
}

} // namespace

// Unrolled, inlined, re-spaced, split and all of these at once: the same, for
// every shape and both hexagon programs (even and odd pass counts).
TEST(ProgramComparison, RewrittenProgramsAreTheSame)
{
    using Rewrite = std::vector<std::string> (*)(const std::vector<std::string>&);
    const std::pair<const char*, Rewrite> rewrites[] = {
        {"unrolled", [](const std::vector<std::string>& l) { return unrolled(l); }},
        {"inlined", inlined},
        {"respaced", respaced},
        {"split", split},
        {"all", [](const std::vector<std::string>& l) { return respaced(split(unrolled(inlined(l)))); }},
    };
    for (const LayoutCase& c : Layouts) {
        const WaferLayout layout = designed(c.wafer, c.shape, c.die, c.gap).layout;
        for (int passes = 1; passes <= 2; ++passes) {
            const std::string program = programFor(layout, passes);
            for (const auto& [what, rewrite] : rewrites) {
                const ProgramComparison r = compared(program, joined(rewrite(programLines(program))), layout);
                EXPECT_TRUE(r.same()) << nameOf(c, passes) << " " << what << ": " << comparisonVerdict(r);
                EXPECT_EQ(r.a.passes, r.b.passes) << nameOf(c, passes) << " " << what;
            }
        }
    }
}

// The property: compare(A, mutant) lists a die exactly when the judge gives
// it different counts in the two, with those counts.
TEST(ProgramComparison, ListsADieExactlyWhenTheChecksCountItDifferently)
{
    std::mt19937 random(29);
    int mutants = 0, differing = 0;
    for (const LayoutCase& c : Layouts) {
        const WaferLayout layout = designed(c.wafer, c.shape, c.die, c.gap).layout;
        for (int passes = 1; passes <= 3; ++passes) {
            const std::string program = programFor(layout, passes);
            const auto original = judgedCounts(program, layout);
            ASSERT_TRUE(original);
            for (const auto& [what, text] : brokenVersions(program, random)) {
                const auto mutant = judgedCounts(text, layout);
                if (!mutant)
                    continue;
                ++mutants;
                std::map<DieKey, std::pair<std::uint64_t, std::uint64_t>> expected;
                for (const auto& [die, count] : *original)
                    if (mutant->at(die) != count)
                        expected[die] = {count, mutant->at(die)};
                const ProgramComparison r = compared(program, text, layout);
                ASSERT_TRUE(r.checked()) << what;
                std::map<DieKey, std::pair<std::uint64_t, std::uint64_t>> listed;
                for (const DifferingDie& die : differingDies(r, std::size_t(1) << 20))
                    listed[{die.row, die.die}] = {die.a, die.b};
                EXPECT_EQ(listed, expected) << nameOf(c, passes) << ", " << what;
                EXPECT_EQ(r.differingDies, static_cast<std::int64_t>(expected.size())) << what;
                differing += !expected.empty();
            }
        }
    }
    EXPECT_GT(mutants, 300);
    EXPECT_GT(differing, 150);
}
