// SPDX-License-Identifier: GPL-3.0-or-later
// Two programs compared die by die: rewritten programs are the same, broken
// ones differ exactly where a judge of the check's own lists says so.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "program/check/cut_check.h"
#include "program/reader/reading_error_text.h"
#include "program/compare/comparison_words.h"
#include "program/compare/die_cut_lines.h"
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
        ADD_FAILURE() << "not a program: " << readingErrorText(*error);
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

// One pass against two: every die differs, cut once in A and twice in B.
TEST(ProgramComparison, OnePassAgainstTwoDiffersInEveryDie)
{
    for (const char* shape : {"Circle", "Hexagon", "Square"}) {
        const WaferLayout layout = designed("2.0 Inches", shape, "150", "2").layout;
        const ProgramComparison r = compared(programFor(layout, 1), programFor(layout, 2), layout);
        EXPECT_EQ(r.differingDies, r.a.dies) << shape;
        EXPECT_EQ(r.cutMoreInB, r.a.dies) << shape;
        // By rows, not by dies.
        EXPECT_LT(r.stretches.size(), std::size_t(2 * layout.RowTable.upperBound())) << shape;
        for (const DifferingDie& die : differingDies(r, 1000)) {
            EXPECT_EQ(die.a, 1u) << shape;
            EXPECT_EQ(die.b, 2u) << shape;
        }
        EXPECT_EQ(r.a.passes, 1);
        EXPECT_EQ(r.b.passes, 2);
        EXPECT_GT(*r.machineSecondsDifference(), 0) << shape;
        EXPECT_EQ(comparisonVerdict(r), std::to_string(r.a.dies) + " 個晶粒不同");
    }
}

// A line removed, a repeat count changed, a call dropped: every die that the
// edited program's check finds short is listed, and any other listed die is
// cut more in B.
TEST(ProgramComparison, EditsListTheDiesTheCheckFindsShortAndOnlyOthersCutMore)
{
    const struct {
        const char* shape;
        const char* what;
        std::string (*edit)(std::vector<std::string>);
    } cases[] = {
        {"Circle", "call dropped", [](std::vector<std::string> l) {
             l.erase(std::find(l.begin(), l.end(), "CIR2"));
             return joined(l);
         }},
        {"Hexagon", "call dropped", [](std::vector<std::string> l) {
             l.erase(std::find(l.begin() + long(std::find(l.begin(), l.end(), "LASON") - l.begin()), l.end(), "HEX1"));
             return joined(l);
         }},
        {"Square", "line removed", [](std::vector<std::string> l) {
             l.erase(std::find_if(l.begin(), l.end(), [](const std::string& s) { return s.starts_with("MI "); }));
             return joined(l);
         }},
    };
    for (const auto& c : cases) {
        const WaferLayout layout = designed("2.0 Inches", c.shape, "150", "2").layout;
        const std::string program = programFor(layout, 2);
        std::vector<std::string> edits = {c.edit(programLines(program))};
        // Each repeat count one less and one more.
        const std::vector<std::string> lines = programLines(program);
        for (std::size_t i = 0; i < lines.size(); ++i)
            if (lines[i].starts_with("SL "))
                for (const int by : {-1, 1}) {
                    std::vector<std::string> changed = lines;
                    changed[i] = "SL " + std::to_string(std::stoi(lines[i].substr(3)) + by);
                    edits.push_back(joined(changed));
                }
        for (const std::string& edited : edits) {
            CutCheckOptions given;
            given.passes = 2;
            given.listLimit = 1 << 20;
            const auto check = checkProgramText(edited, layout, given);
            ASSERT_EQ(check.index(), 0u) << c.what;
            std::map<DieKey, bool> shortInB;
            for (const UncutDie& die : std::get<CutReport>(check).uncut)
                shortInB[{die.row, die.die}] = true;
            const ProgramComparison r = compared(program, edited, layout);
            std::size_t listedShort = 0;
            for (const DifferingDie& die : differingDies(r, std::size_t(1) << 20)) {
                if (shortInB.contains({die.row, die.die}))
                    ++listedShort;
                else
                    EXPECT_GT(die.b, die.a) << c.shape << " " << c.what;
            }
            EXPECT_EQ(listedShort, shortInB.size()) << c.shape << " " << c.what;
        }
    }
}

// A stray cut in one program only is listed with its line; the same stray
// cut elsewhere in the text is no difference.
TEST(ProgramComparison, StrayCutsAreMatchedByPlaceNotByLine)
{
    const WaferLayout layout = designed("2.0 Inches", "Hexagon", "600").layout;
    const std::vector<std::string> lines = programLines(programFor(layout, 1));
    const std::vector<std::string> stray = {"MA X 0.0123 Y 0.0071", "OS", "MI X 0.0311 Y 0.0023", "CS"};
    const auto at = [&](const std::string& line) {
        return std::size_t(std::find(lines.begin(), lines.end(), line) - lines.begin());
    };
    const auto withStray = [&](std::size_t before) {
        std::vector<std::string> changed = lines;
        changed.insert(changed.begin() + long(before), stray.begin(), stray.end());
        return changed;
    };
    const std::vector<std::string> early = withStray(at("ZERO") + 1), late = withStray(at("OFF"));
    const ProgramComparison onlyB = compared(joined(lines), joined(late), layout);
    EXPECT_FALSE(onlyB.same());
    EXPECT_EQ(onlyB.differingDies, 0);
    ASSERT_EQ(onlyB.strayOnlyB.listed.size(), 1u);
    EXPECT_EQ(onlyB.strayOnlyB.listed[0].line, at("OFF") + 3); // the MI, 1-based
    EXPECT_EQ(onlyB.strayOnlyA.count, 0);
    EXPECT_EQ(comparisonVerdict(onlyB), "晶粒切割相同，1 道切割只在一方");
    EXPECT_TRUE(compared(joined(early), joined(late), layout).same());
}

// The lines that cut a die: a die cut short by an edit has others than
// before; a round die's are its arc's line.
TEST(DieCutLines, AreTheCuttingLinesOnTheDiesOutline)
{
    for (const char* shape : {"Circle", "Hexagon", "Square"}) {
        const WaferLayout layout = designed("2.0 Inches", shape, "600").layout;
        const std::vector<std::string> lines = programLines(programFor(layout, 1));
        const Program program = parsed(joined(lines));
        // The first line that cuts: the first move after the first OS.
        std::vector<std::string> cut = lines;
        const auto at = std::find_if(std::find(cut.begin(), cut.end(), "OS"), cut.end(),
                                     [](const std::string& l) { return l.starts_with("MI "); });
        const auto removed = static_cast<std::uint32_t>(at - cut.begin() + 1);
        cut.erase(at);
        const ProgramComparison missing = compared(joined(lines), joined(cut), layout);
        ASSERT_GT(missing.differingDies, 0) << shape;
        const DifferingDie die = differingDies(missing, 1).front();
        const DieCutLines inA = linesCuttingDie(program, layout, die.centre, 5e-5, 1'000'000);
        const DieCutLines inB = linesCuttingDie(parsed(joined(cut)), layout, die.centre, 5e-5, 1'000'000);
        EXPECT_TRUE(inA.complete);
        EXPECT_FALSE(inA.lines.empty()) << shape;
        EXPECT_NE(inA.lines, inB.lines) << shape;
        if (layout.shape == DieShape::Circle) { // the die's one arc, called from its unit
            EXPECT_EQ(inA.lines, std::vector<std::uint32_t>{removed});
            EXPECT_TRUE(inB.lines.empty());
        }
        EXPECT_FALSE(linesCuttingDie(program, layout, {9, 9}, 5e-5, 1'000'000).lines.size()) << shape;
    }
}
