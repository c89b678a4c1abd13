// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/command_line.h"

namespace kerf::cli {

/// kerfwright-cli sheet: a job's sheet for the operator as a one-page PDF.
CommandRun declareSheetCommand(CLI::App& app);

} // namespace kerf::cli
