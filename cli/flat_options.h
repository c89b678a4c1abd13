// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/command_line.h"
#include "job/job.h"

namespace kerf::cli {

/// --flat MM, --flat-at DEG, --second-flat MM and --second-at DEG: the boxes of
/// the designer's flats dialog, each text as typed (checked by the design).
void addFlatOptions(CLI::App& app, JobFlats& flats);

} // namespace kerf::cli
