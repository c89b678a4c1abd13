// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/command_line.h"

namespace kerf::cli {

/// kerfwright-cli generate: the design button, then the start button.
CommandRun declareGenerateCommand(CLI::App& app);

} // namespace kerf::cli
