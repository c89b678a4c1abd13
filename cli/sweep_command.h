#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace kerf::cli {

inline constexpr std::string_view SweepUsage =
    "sweep --wafer SIZE --shape SHAPE[,SHAPE...] --from MIL --to MIL --steps N [--gap MIL] [--effective INCHES]\n"
    "    (--csv FILE | --png FILE)\n"
    "    Designs as the design button does for N die sizes evenly from MIL to MIL (both included)\n"
    "    for each shape; --csv writes one line per size (shape, die size, rows, dies, utilisation,\n"
    "    and the refusal of a size the design refuses), --png the die-size chart of the designer\n"
    "    (refused sizes left out); prints the file's path.";

/// kerfwright-cli sweep: the die-size comparison of the designer's chart.
int runSweepCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace kerf::cli
