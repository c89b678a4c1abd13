// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kerf::testing {

/// What a run of mutated programs found: each program is checked twice (with
/// the pass count given and inferred) and judged by the reference judge.
struct MutationTally {
    std::uint64_t programs = 0;
    std::uint64_t refused = 0;   // texts the reader refuses (not checked)
    std::uint64_t unjudged = 0;  // too long for the judge, or too large for the check
    std::uint64_t checks = 0;    // checks compared with the judge
    std::uint64_t clean = 0;     // checks the check and the judge both call clean
    std::uint64_t falseAlarms = 0; // the check faults a program the judge calls clean
    std::uint64_t falseCleans = 0; // the check calls clean a program the judge does not
    std::vector<std::string> examples; // the first false cleans: the layout, the options and the text
};

/// Mutates the programs written for small layouts of every shape (both
/// hexagon modes, 1–4 passes) `count` times from `seed`, and compares the
/// check with the reference judge.
MutationTally runMutations(std::uint64_t count, std::uint64_t seed);

} // namespace kerf::testing
