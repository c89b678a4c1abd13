// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "program/words/command_words.h"
#include "program/writer/program_parameters.h"
#include "program/writer/program_writer.h"

namespace kerf {

/// "PN " name, "DI 1 10000", "II": the opening of every program unit.
void writeUnitOpening(ProgramWriter& out, std::string_view name);

/// A subroutine unit: its opening, the date comment, the comment of its
/// title, the commands, "EI" and one empty line.
void writeSubroutineUnit(ProgramWriter& out, SubroutineUnit unit, std::string_view title,
                         std::chrono::year_month_day date, std::span<const std::string> commands);

/// "SL " count, the call of `unit`, "EL": the unit run `count` times.
void writeRepeatedCall(ProgramWriter& out, long long count, SubroutineUnit unit);

/// The 17 lines that open the main unit, ending with "# MAIN PROGRAM".
void WriteProgramHeader(ProgramWriter& out, const ProgramHeader& header);

/// The 4 lines that close the main unit, ending with "EI"; no empty line follows.
void WriteProgramTrailer(ProgramWriter& out);

} // namespace kerf
