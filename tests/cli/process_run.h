// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace kerf::testing {

/// What the kerfwright-cli executable did, run as its own process.
struct ProcessRun {
    int status;      // the exit code, or 128 + the signal that ended it
    std::string out; // empty when standard output went to `stdoutPath`
    std::string err;
};

/// For `stdoutPath`: a pipe whose reading end is closed, as after `| head`.
inline constexpr const char* ClosedPipe = "|";

/// Runs the built kerfwright-cli with `args`, SIGPIPE at its default; its
/// standard output goes to `stdoutPath` when one is given (e.g. "/dev/full"),
/// else it is collected; standard input is `stdinPath` (else /dev/null).
/// `setup`, when given, is run by the shell before, in the same process
/// (e.g. "ulimit -v 204800", "trap '' XFSZ").
ProcessRun runProcess(const std::vector<std::string>& args, const std::string& stdoutPath = "",
                      const std::string& stdinPath = "/dev/null", const std::string& setup = "");

} // namespace kerf::testing
