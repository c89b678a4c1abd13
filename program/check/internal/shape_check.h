// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <concepts>
#include <cstdint>
#include <optional>

#include "layout/wafer_layout.h"
#include "program/check/internal/check_state.h"
#include "program/check/internal/die_tally.h"
#include "program/check/internal/lattice.h"
#include "program/reader/program_reader.h"

namespace kerf::cutcheck {

/// What each shape's check (CircleCuts, HexagonCuts, SquareCuts) provides
/// to the run that feeds it cutting motions and to the report:
/// - built from the layout and the check's state, it finds the dies on the
///   lattice of its shape; `dies()` counts them;
/// - `allowance()`: how far past the effective circle its arcs may reach;
/// - `cutRun(first, step, copies)`: takes `copies` copies of the cutting
///   motion `first`, each `step` further on, at once when they are the cuts
///   of consecutive dies of one row (true), or leaves them to be matched one
///   by one (false);
/// - `cut(m)`: matches one cutting motion (an arc's reach is checked before);
/// - `finish(passes, tally)`: once the run is over, counts the edges and the
///   dies cut at least `passes` times, row by row (called twice when the
///   pass count is inferred: first with a survey tally).
/// A concept rather than a base class: the run calls `cut` for every motion,
/// and a static call costs nothing there.
template <class S>
concept ShapeCheck = std::constructible_from<S, const WaferLayout&, CheckState&> &&
                     requires(S& shape, const S& constShape, const Motion& m, ProgramPoint step,
                              std::uint64_t copies, int passes, DieTally& tally) {
                         { constShape.dies() } -> std::same_as<Index>;
                         { constShape.allowance() } -> std::same_as<double>;
                         { shape.cutRun(m, step, copies) } -> std::same_as<bool>;
                         { shape.cut(m) } -> std::same_as<void>;
                         { shape.finish(passes, tally) } -> std::same_as<void>;
                     };

} // namespace kerf::cutcheck
