// SPDX-License-Identifier: GPL-3.0-or-later
#include "program/check/internal/part_cuts.h"

#include <algorithm>
#include <limits>

namespace kerf::cutcheck {

bool PartCuts::add(std::uint64_t element, double from, double to, std::int64_t times)
{
    if (parts_.size() >= MostParts)
        return false;
    parts_.push_back({element, std::max(from, 0.0), std::min(to, 1.0), times});
    return true;
}

void PartCuts::sort()
{
    std::sort(parts_.begin(), parts_.end(), [](const Part& a, const Part& b) { return a.element < b.element; });
}

std::int64_t PartCuts::thinnest(std::size_t begin, std::size_t end, double slack)
{
    events_.clear();
    for (std::size_t k = begin; k < end; ++k) {
        // Ends within the slack of the element's ends reach them.
        events_.push_back({parts_[k].from <= slack ? 0.0 : parts_[k].from, parts_[k].times});
        events_.push_back({parts_[k].to >= 1 - slack ? 1.0 : parts_[k].to, -parts_[k].times});
    }
    std::sort(events_.begin(), events_.end(), [](const Event& a, const Event& b) { return a.at < b.at; });
    // The coverage between ends that lie farther apart than the slack; ends
    // closer than it are taken as one point.
    std::int64_t running = 0;
    std::int64_t fewest = std::numeric_limits<std::int64_t>::max();
    double at = 0;
    for (std::size_t e = 0; e < events_.size();) {
        const double next = events_[e].at;
        if (next - at > slack)
            fewest = std::min(fewest, running);
        for (; e < events_.size() && events_[e].at <= next + slack; ++e)
            running += events_[e].delta;
        at = events_[e - 1].at;
    }
    if (1 - at > slack)
        fewest = std::min(fewest, running);
    return fewest == std::numeric_limits<std::int64_t>::max() ? 0 : fewest;
}

} // namespace kerf::cutcheck
