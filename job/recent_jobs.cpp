// SPDX-License-Identifier: GPL-3.0-or-later
#include "job/recent_jobs.h"

#include <algorithm>

namespace kerf {

std::vector<std::string> withRecentJob(std::vector<std::string> recent, const std::string& file)
{
    std::erase(recent, file);
    recent.insert(recent.begin(), file);
    if (recent.size() > RecentJobsMax)
        recent.resize(RecentJobsMax);
    return recent;
}

} // namespace kerf
