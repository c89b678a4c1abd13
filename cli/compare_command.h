// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/command_line.h"

namespace kerf::cli {

/// kerfwright-cli compare: the design button, then two program files read,
/// each checked against the layout, and compared die by die.
CommandRun declareCompareCommand(CLI::App& app);

} // namespace kerf::cli
