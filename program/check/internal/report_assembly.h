// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <map>

#include "program/check/internal/check_state.h"
#include "program/check/report/cut_report.h"
#include "program/reader/program_reader.h"

namespace kerf::cutcheck {

/// Puts the figures of the run in the report: the motions, the lengths, the
/// machine time, the end of the run, the arcs' reach and the flagged cuts;
/// too large to check when the run or the matching went past its bounds.
void recordRun(CheckState& state, const RunSummary& run);

/// Settles the pass count the dies are held to: the one given, else the
/// cuts that most dies receive (`diesByCuts`: dies by their fewest cuts; of
/// two counts as common the higher), at least 1.
void settlePasses(CheckState& state, const std::map<std::uint64_t, std::int64_t>& diesByCuts);

/// Whether the report is to get its dies counted: the check ran to its end.
bool runComplete(const CutReport& report);

} // namespace kerf::cutcheck
