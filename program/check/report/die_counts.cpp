// SPDX-License-Identifier: GPL-3.0-or-later
#include "program/check/report/die_counts.h"

namespace kerf {

void DieCounts::add(int number, int count, double x, double y, double pitch, int from, int to, std::uint64_t cuts)
{
    if (to <= from)
        return;
    if (rows_.empty() || rows_.back().number != number)
        rows_.push_back({number, count, x, y, pitch, {}});
    std::vector<Run>& runs = rows_.back().runs;
    if (!runs.empty() && runs.back().end == from && runs.back().cuts == cuts)
        runs.back().end = to;
    else
        runs.push_back({to, cuts});
}

} // namespace kerf
