#pragma once

#include <span>
#include <string>
#include <string_view>

#include "program/writer/program_parameters.h"
#include "program/writer/program_writer.h"

namespace kerf {

/// "PN " name, "DI 1 10000", "II": the opening of every program unit.
void writeUnitOpening(ProgramWriter& out, std::string_view name);

/// A subroutine unit: its opening, the date comment, the title comment, the
/// commands, "EI" and one empty line.
void writeSubroutineUnit(ProgramWriter& out, std::string_view name, std::string_view title,
                         std::chrono::year_month_day date, std::span<const std::string> commands);

/// The 17 lines that open the main unit, ending with "# MAIN PROGRAM".
void WriteProgramHeader(ProgramWriter& out, const ProgramHeader& header);

/// The 4 lines that close the main unit, ending with "EI"; no empty line follows.
void WriteProgramTrailer(ProgramWriter& out);

} // namespace kerf
