// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

#include "program/reader/program_reader.h"

namespace kerf::cutcheck {

/// The machine's running time of a run, seconds (see RunSummary::machineSeconds,
/// and machineTimeAssumption for what it assumes); none when a motion had
/// no speed to go by.
std::optional<double> machineTime(const RunSummary& run);

} // namespace kerf::cutcheck
