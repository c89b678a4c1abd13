// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPainter>

#include "program/reader/program_reader.h"
#include "render/cut_path_picture.h"
#include "layout/wafer_layout.h"

namespace kerf::map {

/// The designer's picture is 5.25 inches square.
inline constexpr double PictureSideInches = 5.25;

/// Draws the designer's picture of `layout` on `painter`, `side` logical
/// pixels square for the picture's 5.25 inches: white, the outline of the
/// nominal wafer and the dies, by the designer's drawing procedures. With a
/// `program`, its cut path follows as the preview shows it once every step is
/// done: cuts in CutColour, laser-off moves dashed in TravelColour, retraced
/// passes once. The path is drawn as the preview's layers of `side` ×
/// `devicePixelRatio` pixels, so what the painter receives is bounded by the
/// picture's pixels, not by the program's moves. A program that runs past
/// the runner's bounds is not drawn in part: DrawingFailed.
void drawMapPicture(QPainter& painter, const WaferLayout& layout, int side, const Program* program = nullptr,
                    qreal devicePixelRatio = 1.0);

} // namespace kerf::map
