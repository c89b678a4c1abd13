// SPDX-License-Identifier: GPL-3.0-or-later
#include "program/check/internal/range_counts.h"

namespace kerf::cutcheck {

void RangeCounts::merge()
{
    std::sort(events_.begin(), events_.end(), [](const Event& a, const Event& b) { return a.at < b.at; });
    std::size_t out = 0;
    for (std::size_t i = 0; i < events_.size();) {
        Event merged{events_[i].at, 0};
        for (; i < events_.size() && events_[i].at == merged.at; ++i)
            merged.delta += events_[i].delta;
        if (merged.delta != 0)
            events_[out++] = merged;
    }
    events_.resize(out);
}

} // namespace kerf::cutcheck
