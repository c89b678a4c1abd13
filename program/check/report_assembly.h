#pragma once

#include <optional>

#include "program/check/check_state.h"
#include "program/check/cut_check.h"
#include "program/reader/program_reader.h"

namespace kerf::cutcheck {

/// Puts the figures of the run in the report: the motions, the lengths, the
/// machine time, the end of the run, the arcs' reach and the flagged cuts;
/// too large to check when the run or the matching went past its bounds.
void recordRun(CheckState& state, const RunSummary& run);

/// Settles the pass count the dies are held to: the one given, else the
/// one the shape's arcs say (`arcPasses`), else the repeat blocks'.
void settlePasses(CheckState& state, std::optional<int> arcPasses);

/// Whether the report is to get its dies counted: the check ran to its end.
bool runComplete(const CutReport& report);

} // namespace kerf::cutcheck
