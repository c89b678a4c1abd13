// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "layout/wafer_layout.h"
#include "program/writer/program_parameters.h"

namespace kerf::testing {

/// The date every test program carries.
inline constexpr std::chrono::year_month_day TestDate{std::chrono::year{2004}, std::chrono::March,
                                                       std::chrono::day{5}};

/// Parameters as the generation window's defaults give them, for a program
/// named "job" on TestDate, with the layout's designer texts.
ProgramParameters defaultParameters(const WaferLayout& layout, std::int16_t cutCount = 1);

/// The program that the start button writes for `layout` with the window's
/// default texts, the name JOB, `passes` typed into the pass count box and
/// TestDate.
std::string programFor(const WaferLayout& layout, int passes = 1);

/// One of the shapes' program writers (WriteCircleProgram, WriteSquareProgram,
/// WriteHexagonProgramOneWay, WriteHexagonProgramTwoWay).
using ProgramWriterFunction = void (*)(std::ostream&, const WaferLayout&, const ProgramParameters&);

/// The lines that `write` writes for `layout` with defaultParameters.
std::vector<std::string> writtenLines(ProgramWriterFunction write, const WaferLayout& layout,
                                      std::int16_t cutCount = 1);

} // namespace kerf::testing
