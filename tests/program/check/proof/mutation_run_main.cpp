// SPDX-License-Identifier: GPL-3.0-or-later
// The mutation run at release size: cut_check_mutation_run [COUNT [SEED]]
// (20000 programs and seed 25 unless given). Exits 1 when the check calls
// clean a program the reference judge does not, and prints those programs.
#include <chrono>
#include <cstdlib>
#include <iostream>

#include "tests/program/check/proof/mutation_run.h"

int main(int argc, char** argv)
{
    const std::uint64_t count = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 20000;
    const std::uint64_t seed = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 25;
    const auto start = std::chrono::steady_clock::now();
    const kerf::testing::MutationTally tally = kerf::testing::runMutations(count, seed);
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    std::cout << "programs " << tally.programs << ", seed " << seed << ", refused by the reader " << tally.refused
              << ", checks compared " << tally.checks << ", not judged " << tally.unjudged << ", clean "
              << tally.clean << ", faulted but judged clean " << tally.falseAlarms << ", false clean "
              << tally.falseCleans << ", " << seconds.count() << " s\n";
    for (const std::string& example : tally.examples)
        std::cout << "--- false clean: " << example << '\n';
    return tally.falseCleans == 0 ? 0 : 1;
}
