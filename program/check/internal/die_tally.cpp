// SPDX-License-Identifier: GPL-3.0-or-later
#include "program/check/internal/die_tally.h"

#include <algorithm>
#include <limits>

#include "program/check/internal/run_progress.h"

namespace kerf::cutcheck {

void DieTally::listUncut(const DieGrid::Row& row, int j, double pitch, std::uint8_t uncutEdges, std::uint64_t cuts)
{
    CutReport& report = state_.report;
    ++report.uncutDies;
    if (report.uncut.size() < state_.options.listLimit)
        report.uncut.push_back({row.number, j + 1, {row.x + pitch * j, row.y}, uncutEdges,
                                static_cast<int>(std::min<std::uint64_t>(cuts, std::numeric_limits<int>::max()))});
}

void DieTally::dies(const DieGrid::Row& row, int from, int to, double pitch, std::uint8_t uncutEdges,
                    std::uint64_t cuts, bool fullyCut)
{
    CutReport& report = state_.report;
    if (survey_) {
        diesByCuts_[cuts] += to - from;
        return;
    }
    count(row, from, to, pitch, cuts);
    if (fullyCut) {
        report.diesFullyCut += to - from;
        return;
    }
    const int listed = static_cast<int>(
        std::min<std::size_t>(state_.options.listLimit - std::min(state_.options.listLimit, report.uncut.size()),
                              static_cast<std::size_t>(to - from)));
    for (int j = from; j < from + listed; ++j)
        listUncut(row, j, pitch, uncutEdges, cuts);
    report.uncutDies += to - from - listed;
}

bool DieTally::rowDone(int count)
{
    done_ += static_cast<std::uint64_t>(count);
    if (survey_ || !state_.options.progress || done_ < next_)
        return true;
    next_ = done_ + ProgressStride;
    if (state_.options.progress(done_, total_))
        return true;
    state_.report.cancelled = true;
    return false;
}

} // namespace kerf::cutcheck
