// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/command_line.h"

namespace kerf::cli {

/// kerfwright-cli check: the design button, then the program file read and
/// run against the layout.
CommandRun declareCheckCommand(CLI::App& app);

} // namespace kerf::cli
