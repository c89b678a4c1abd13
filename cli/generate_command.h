#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace kerf::cli {

inline constexpr std::string_view GenerateUsage =
    "generate --wafer SIZE --shape SHAPE --die MIL [--gap MIL] [--effective INCHES] --name NAME\n"
    "         [--passes N] [--dvl TEXT] [--dac TEXT] [--vel TEXT] [--acc TEXT] [--out DIR|-] [--date yyyy/mm/dd]\n"
    "    Designs as the design button does, then writes the cutting program NAME.TXT as the\n"
    "    generation window's start button does, and prints the file's path. The machine\n"
    "    parameters are the boxes' texts (absent: the window's defaults; \"\" an emptied box).\n"
    "    --out: the folder of the file (default: the folder of kerfwright-cli); - writes the\n"
    "    program to standard output. --date: the date the program carries (default: today).";

/// kerfwright-cli generate: the design button, then the start button.
int runGenerateCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace kerf::cli
