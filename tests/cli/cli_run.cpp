// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli_run.h"

#include <sstream>

#include "cli/commands.h"

namespace kerf::testing {

CliRun run(const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    const int status = cli::runCommandLine(args, out, err);
    return {status, out.str(), err.str()};
}

} // namespace kerf::testing
