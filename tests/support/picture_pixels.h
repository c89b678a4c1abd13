// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cmath>

#include <QColor>
#include <QImage>

#include "render/map_picture.h"

namespace kerf::testing {

/// Whether `colour` is at a point of a wafer map picture (inches from its
/// top left corner) or at a pixel next to it: outlines may round to either
/// side of a line.
inline bool near(const QImage& image, double x, double y, const QColor& colour)
{
    const double pixelsPerInch = image.width() / map::PictureSideInches;
    const int px = static_cast<int>(std::floor(x * pixelsPerInch));
    const int py = static_cast<int>(std::floor(y * pixelsPerInch));
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (image.valid(px + dx, py + dy) && image.pixelColor(px + dx, py + dy) == colour)
                return true;
    return false;
}

/// How many pixels of the image have `colour`.
inline int countPixels(const QImage& image, const QColor& colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixelColor(x, y) == colour;
    return n;
}

} // namespace kerf::testing
