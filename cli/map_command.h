// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/command_line.h"

namespace kerf::cli {

/// kerfwright-cli map: the design button, then the designer's picture (and a
/// program's cut path) into an image file.
CommandRun declareMapCommand(CLI::App& app);

} // namespace kerf::cli
