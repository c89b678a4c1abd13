// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace kerf {

/// The texts of the main unit's opening block, already in the file's code
/// page and written as they stand: the program name, the designer's texts
/// that the layout was made from, DVL and DAC, and the date of every date
/// comment of the file.
struct ProgramHeader {
    std::string programName;
    std::string waferSize;
    std::string shape;
    std::string dieSize;
    std::string fineTune; // empty: line 6 ends in "mil "
    std::string DVL;
    std::string DAC;
    std::chrono::year_month_day date;
};

/// Everything a generator writes besides the layout: the opening block, the
/// pass count and the circle subroutines' VEL and ACC texts.
struct ProgramParameters {
    ProgramHeader header;
    std::int16_t CutCount = 1;
    std::string VEL;
    std::string ACC;
};

} // namespace kerf
