// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

#include <QColor>
#include <QImage>

#include "layout/wafer_layout.h"
#include "program/compare/program_comparison.h"
#include "render/map_view.h"

namespace kerf::map {

/// The comparison's colours over the map: dies that B cuts less than A, dies
/// that B cuts more, the cuts that only B has out of place, the die picked.
inline const QColor CutLessColour{230, 110, 0};
inline const QColor CutMoreColour{0, 90, 220};
inline const QColor StrayOnlyBColour{200, 0, 200};
inline const QColor PickedDieColour{0, 0, 0};

/// The comparison drawn for `view` (transparent elsewhere): each stretch of
/// differing dies as a band over its dies, at least a pixel wide, in the
/// colour of cut less or cut more in B; B's flagged cuts that A lacks as
/// lines; a ring about the `picked` die. Costs the stretches in view, never
/// the dies.
QImage comparisonOverlay(const ProgramComparison& comparison, const WaferLayout& layout, const MapView& view,
                         qreal devicePixelRatio, std::optional<ProgramPoint> picked);

} // namespace kerf::map
