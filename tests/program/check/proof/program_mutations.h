// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <random>
#include <string>
#include <vector>

#include "layout/wafer_layout.h"

namespace kerf::testing {

/// A program's text changed at random, as a careless hand or a faulty
/// writer might: one line or two changed (removed; a number halved, doubled
/// or of the other sign; OS and CS swapped; a repeat count one more or one
/// less), or a cut in pieces (with and without gaps, laser off for a
/// stretch, shortened at either end, made of tiny steps; tiny steps across
/// a die or off the wafer; a line of two MA with the laser on).
std::string mutatedProgram(const std::vector<std::string>& lines, const WaferLayout& layout, std::mt19937_64& random);

} // namespace kerf::testing
