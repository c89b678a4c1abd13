// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "layout/wafer_layout.h"
#include "render/inch_canvas.h"

namespace kerf::map {

/// The faint colour of the keep-out lines.
inline const QColor KeepOutGrey{175, 175, 175};

/// The outline of a layout's wafer of `waferRadius` about (centreX, centreY):
/// without flats DrawWaferOutline's round one; with flats the centre point,
/// the arcs between the flats and the flats' straight edges in black, and
/// each keep-out line faintly across the wafer.
void DrawLayoutOutline(InchCanvas& canvas, float centreX, float centreY, float waferRadius,
                       const WaferLayout& layout);

} // namespace kerf::map
