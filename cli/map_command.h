#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace kerf::cli {

inline constexpr std::string_view MapUsage =
    "map --wafer SIZE --shape SHAPE --die MIL [--gap MIL] [--effective INCHES]\n"
    "    (--png FILE [--size PIXELS] | --svg FILE) [--program FILE.TXT]\n"
    "    Designs as the design button does and saves the wafer map as the designer's picture\n"
    "    shows it, as a PNG image of PIXELS square (default 504, 16 to 4096) or as an SVG\n"
    "    document; prints the file's path. --program draws the cut path of a program over\n"
    "    the map as the preview shows it: cuts in blue, laser-off moves dashed in grey.";

/// kerfwright-cli map: the design button, then the designer's picture (and a
/// program's cut path) into an image file.
int runMapCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace kerf::cli
