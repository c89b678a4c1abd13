#pragma once

#include <string>
#include <vector>

#include "layout/wafer_layout.h"

namespace kerf::testing {

/// The program that the start button writes for `layout` with `passes`
/// passes (name JOB, a fixed date).
std::string programFor(const WaferLayout& layout, int passes);

/// The lines of a program text, without their CR LF.
std::vector<std::string> linesOf(const std::string& text);

/// Lines joined into a program text, each ended by CR LF.
std::string joined(const std::vector<std::string>& lines);

} // namespace kerf::testing
