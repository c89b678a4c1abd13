// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "render/inch_canvas.h"
#include "layout/acceptance.h"
#include "layout/wafer_layout.h"
#include "numbers/number.h"

namespace kerf::map {

/// Dies narrower than this many device pixels are not drawn one by one: each
/// row (or column) is drawn as the red band that the eye would see of it.
inline constexpr double SmallestDrawnDiePixels = 2.0;

/// True when dies of `dieSize` inches are drawn one by one on `canvas`.
bool drawsEachDie(const InchCanvas& canvas, float dieSize);

/// The wafer outline: a black point at the centre and a black circle of the
/// nominal wafer radius around it.
void DrawWaferOutline(InchCanvas& canvas, float centreX, float centreY, float waferRadius);

/// A hexagon with two vertical sides around `centre`: half width `r`, half
/// side `h`. It starts at (X − r, Y + h), taken in exact decimals, and is
/// drawn in red as six relative moves.
void DrawHexagon(InchCanvas& canvas, const LayoutPoint& centre, float r, const Number& h);

/// Every die of a circle layout: a red circle of the half die size per die.
void DrawCircleDies(InchCanvas& canvas, const WaferLayout& layout);
/// Every die of a hexagon layout, with DrawHexagon.
void DrawHexagonDies(InchCanvas& canvas, const WaferLayout& layout);
/// The red cut lines of a square layout: the row lines, then the column lines.
void DrawSquareGrid(InchCanvas& canvas, const WaferLayout& layout);

/// The dies of `layout` by its shape (the outline is not drawn).
void drawDies(InchCanvas& canvas, const WaferLayout& layout);

/// The designer's test hexagon: a point at (centreX, centreY) and one hexagon
/// of half width 0.052 inch around it. It changes the picture only.
void drawTestHexagon(InchCanvas& canvas, float centreX, float centreY);

} // namespace kerf::map
