#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace kerf::cli {

inline constexpr std::string_view CheckUsage =
    "check FILE.TXT --wafer SIZE --shape SHAPE --die MIL [--gap MIL] [--effective INCHES] [--passes N] [--json]\n"
    "    Runs the cutting program FILE.TXT against the layout of those settings and reports its cuts:\n"
    "    cut and travel lengths, the dies fully cut and those left uncut, cuts outside the effective\n"
    "    circle or on no die edge, where the head ends. --passes: how often every edge must be cut\n"
    "    (default: as the program's arcs or repeat blocks say). --json prints the report as JSON.\n"
    "    Exit status 0 when every die is cut and no cut is outside or on no die edge, else 1.";

/// kerfwright-cli check: the design button, then the program file read and
/// run against the layout.
int runCheckCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace kerf::cli
