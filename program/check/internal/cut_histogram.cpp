// SPDX-License-Identifier: GPL-3.0-or-later
#include "program/check/internal/cut_histogram.h"

namespace kerf::cutcheck {

std::map<int, std::int64_t> CutHistogram::result() const
{
    std::map<int, std::int64_t> all = large_;
    for (std::size_t k = 0; k < small_.size(); ++k)
        if (small_[k] != 0)
            all[static_cast<int>(k)] += small_[k];
    return all;
}

} // namespace kerf::cutcheck
