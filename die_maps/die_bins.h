// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace kerf {

/// A die a binned map calls bad: its row from the top (1 is the top row) and
/// its place in the row from the left (1 is the leftmost), as the layout's
/// rows count them.
struct BadDie {
    int row = 0;
    int die = 0;

    bool operator==(const BadDie&) const = default;
};

/// What a binned map says of a layout's dies: how many are good (their code
/// is one of the map's good codes) and bad, how many carry each code
/// (upper-case), and the bad dies row by row from the top, each row from the left.
struct DieBins {
    std::int64_t good = 0;
    std::int64_t bad = 0;
    std::map<std::string, std::int64_t> codes;
    std::vector<BadDie> badDies;

    std::int64_t total() const { return good + bad; }
};

} // namespace kerf
