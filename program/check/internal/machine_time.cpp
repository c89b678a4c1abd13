// SPDX-License-Identifier: GPL-3.0-or-later
#include "program/check/internal/machine_time.h"

namespace kerf::cutcheck {

std::optional<double> machineTime(const RunSummary& run)
{
    if (!run.machineTimeKnown)
        return std::nullopt;
    return run.machineSeconds;
}

} // namespace kerf::cutcheck
