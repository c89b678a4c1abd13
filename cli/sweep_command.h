// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/command_line.h"

namespace kerf::cli {

/// kerfwright-cli sweep: the die-size comparison of the designer's chart.
CommandRun declareSweepCommand(CLI::App& app);

} // namespace kerf::cli
