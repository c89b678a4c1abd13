// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cmath>

#include <QRect>
#include <QSize>

namespace kerf::ui {

/// Window geometry is given in twips: 1440 an inch, 15 to a pixel at 96
/// pixels an inch. Qt's device-pixel ratio scales the pixels on other screens.
inline constexpr int TwipsPerPixel = 15;

inline int twipsToPixels(int twips)
{
    return static_cast<int>(std::lround(static_cast<double>(twips) / TwipsPerPixel));
}

/// Left, top, width and height in twips, as a widget rectangle in pixels.
inline QRect twipsRect(int left, int top, int width, int height)
{
    return {twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height)};
}

inline QSize twipsSize(int width, int height) { return {twipsToPixels(width), twipsToPixels(height)}; }

} // namespace kerf::ui
