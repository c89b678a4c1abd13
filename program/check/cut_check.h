// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>
#include <variant>

#include "layout/wafer_layout.h"
#include "program/check/report/cut_report.h"
#include "program/reader/program_reader.h"

namespace kerf {

// Runs a cutting program against the layout it is meant for and reports what
// it cuts: the figures of the run, the dies it leaves uncut, and the cuts that
// fall outside the effective circle or on no die edge.
//
// What "fully cut" means per shape:
// - circles: arcs of the half die size about the die, centred half the
//   fine-tune left of the die centre (where the programs put them), covering
//   the whole turn at least `passes` times;
// - hexagons: each of the six edges cut at least `passes` times;
// - squares: each of the four sides of the die cell cut at least `passes`
//   times (cut lines are counted a die pitch at a time).
// Pieces of cut add up: an edge, a side or a turn is cut as often as its
// thinnest point is covered, and the part of a cut that lies on die edges
// counts even when the rest of it is stray. A cut of no length is no cut.
// The program is run by its runs of equal motions (runProgramRuns); cut ends
// are matched to the layout's lattice (half die widths and half sides for
// hexagons, pitches for squares, half pitches and row pitches for the centres
// of round dies) with no search. The cuts are counted by rows (of dies, of
// corners, of grid lines) as ranges, so a row of equal cuts costs O(1) or
// O(log n) and the check keeps no memory per die; copies that a run cannot
// match at once are matched one by one, within a bound of work.

/// Runs `program` from its start by its runs of equal motions and checks its
/// cuts against `layout`. Never fails: a program that cuts nothing of the
/// layout gets a report that says so; one beyond the bounds of work or memory
/// gets a report that it could not be checked (CutReport::unchecked).
CutReport checkCuts(const Program& program, const WaferLayout& layout, const CutCheckOptions& options = {});

/// Parses `text` and checks it; a text that is no well-formed program gives
/// the reader's refusal.
std::variant<CutReport, ProgramError> checkProgramText(std::string_view text, const WaferLayout& layout,
                                                       const CutCheckOptions& options = {});

} // namespace kerf
