// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <cstdint>

namespace kerf::cutcheck {

/// Matching work a check may do (copies matched one by one, lattice steps
/// walked): a few seconds. The generated programs need a few units per line
/// of their text; a program past it is reported as too large to check.
inline constexpr std::uint64_t MostWork = 150'000'000;

/// Steps of a program that may be run motion by motion when its runs cannot
/// be matched as they come (copies of short cuts whose path only the
/// machine's order tells): a few seconds.
inline constexpr std::uint64_t MostLiteralSteps = 50'000'000;

/// The matching work done so far against MostWork.
class WorkBound {
public:
    /// Counts `units` more: false once the whole goes past the bound.
    bool add(std::uint64_t units)
    {
        done_ = units > MostWork - std::min(done_, MostWork) ? MostWork + 1 : done_ + units;
        return within();
    }
    bool within() const { return done_ <= MostWork; }

private:
    std::uint64_t done_ = 0;
};

} // namespace kerf::cutcheck
