// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <map>
#include <vector>

namespace kerf::cutcheck {

/// Cut counts below this are counted in place, without a map lookup each:
/// every pass count a program gives in practice.
inline constexpr std::size_t DirectCutCounts = 256;

/// How many elements (edges, pieces of grid lines, dies) were cut how many times.
class CutHistogram {
public:
    /// Counts `n` elements cut `count` times.
    void add(std::uint64_t count, std::int64_t n = 1)
    {
        if (count < small_.size())
            small_[count] += n;
        else
            large_[static_cast<int>(std::min<std::uint64_t>(count, std::numeric_limits<int>::max()))] += n;
    }

    /// The counts, as CutReport::elementsByCutCount holds them.
    std::map<int, std::int64_t> result() const;

private:
    std::vector<std::int64_t> small_ = std::vector<std::int64_t>(DirectCutCounts, 0);
    std::map<int, std::int64_t> large_;
};

} // namespace kerf::cutcheck
