#pragma once

#include <string_view>

#include "program/check/cut_report_figures.h"
#include "program/reader/program_reader.h"

namespace kerf {

/// A program text that is no program, in the preview's words: the verdict
/// names the line, what is wrong with it and the line as `text` has it (when
/// given); no figures.
ReportText describeProgramError(const ProgramError& error, std::string_view text = {});

} // namespace kerf
