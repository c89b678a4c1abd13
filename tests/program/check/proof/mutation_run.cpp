// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/program/check/proof/mutation_run.h"

#include <optional>
#include <random>
#include <variant>

#include "program/check/cut_check.h"
#include "tests/program/check/proof/program_mutations.h"
#include "tests/program/check/proof/reference_judge.h"
#include "tests/support/design_helpers.h"
#include "tests/support/generated_programs.h"
#include "tests/support/program_text.h"

namespace kerf::testing {

namespace {

struct Base {
    const char* name;
    WaferLayout layout;
    int passes; // typed into the generation window
    int cuts;   // what each edge receives: a hexagon program cuts a row once or there and back
    std::vector<std::string> lines;
};

std::vector<Base> bases()
{
    struct Design {
        const char* shape;
        const char* die;
        const char* gap;
    };
    const Design designs[] = {{"Square", "500", ""},  {"Square", "250", ""},  {"Square", "330", "4"},
                              {"Hexagon", "400", ""}, {"Hexagon", "300", "2"}, {"Circle", "400", ""},
                              {"Circle", "300", "3"}};
    std::vector<Base> all;
    for (const Design& d : designs) {
        const WaferLayout layout = designedLayout("2.0 Inches", d.shape, d.die, d.gap);
        for (int passes = 1; passes <= 4; ++passes)
            all.push_back({d.shape, layout, passes, layout.shape == DieShape::Hexagon ? 2 - passes % 2 : passes,
                           programLines(programFor(layout, passes))});
    }
    return all;
}

} // namespace

MutationTally runMutations(std::uint64_t count, std::uint64_t seed)
{
    static const std::vector<Base> programs = bases();
    std::mt19937_64 random(seed);
    MutationTally tally;
    for (std::uint64_t n = 0; n < count; ++n) {
        const Base& base = programs[random() % programs.size()];
        const std::string text = mutatedProgram(base.lines, base.layout, random);
        ++tally.programs;
        const auto parsed = parseProgram(text);
        if (std::holds_alternative<ProgramError>(parsed)) {
            ++tally.refused;
            continue;
        }
        const ReferenceJudge judge(text, base.layout);
        for (const std::optional<int> passes : {std::optional<int>(base.cuts), std::optional<int>()}) {
            CutCheckOptions options;
            options.passes = passes;
            const CutReport report = checkCuts(std::get<Program>(parsed), base.layout, options);
            const JudgeVerdict verdict = judge.verdict(passes);
            if (!verdict.judged || report.unchecked != Unchecked::No) {
                ++tally.unjudged;
                continue;
            }
            ++tally.checks;
            tally.clean += report.clean() && verdict.clean();
            tally.falseAlarms += !report.clean() && verdict.clean();
            if (report.clean() && !verdict.clean()) {
                ++tally.falseCleans;
                if (tally.examples.size() < 5)
                    tally.examples.push_back(std::string(base.name) + " " + std::to_string(base.passes) +
                                             (passes ? " passes given" : " passes inferred") + ", judge: " +
                                             std::to_string(verdict.uncutDies) + " uncut of " +
                                             std::to_string(verdict.dies) + (verdict.stray ? ", stray" : "") +
                                             (verdict.outside ? ", outside" : "") + "\n" + text);
            }
        }
    }
    return tally;
}

} // namespace kerf::testing
