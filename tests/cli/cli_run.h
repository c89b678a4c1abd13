// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/temporary_folder.h"

namespace kerf::testing {

/// What one kerfwright-cli command line did.
struct CliRun {
    int status;
    std::string out;
    std::string err;
};

/// Runs a command line (without the program name) as main() would.
CliRun run(const std::vector<std::string>& args);

} // namespace kerf::testing
