// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <variant>
#include <vector>

#include "program/reader/internal/program_code.h"

// The calls between a program's units: an order that runs callees first, a
// call that recurses, and the size of a full run.

namespace kerf::detail {

/// A call back into a unit still running: the Call op and the unit it stands in.
struct Recursion {
    const Op* call;
    std::uint32_t caller;
};

/// Walks the calls of `units` units depth first, without recursion of its
/// own: the units in an order where each follows those it calls, or the
/// first call that recurses.
std::variant<std::vector<std::uint32_t>, Recursion> calleesFirst(const ProgramCode& code, std::size_t units);

/// What a full run of a unit executes (see ReadLimits), saturating.
struct Expansion {
    std::uint64_t steps = 0;
    std::uint64_t motions = 0;
};

/// The expansion of unit `entry`, its callees counted once each in `order`
/// (callees first).
Expansion expansionOf(const ProgramCode& code, const std::vector<std::uint32_t>& order, std::size_t entry);

} // namespace kerf::detail
