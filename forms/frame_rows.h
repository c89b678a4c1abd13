// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QString>

#include "forms/controls.h"

namespace kerf::ui {

// The frames in the column right of the picture hold rows: a caption at the
// left, a box, and the box's unit right after it. Row i's box stands
// 270 + 405 × i twips below the frame's top; its caption and unit 45 lower.

/// The box of a row starts this far from the frame's left, in twips.
inline constexpr int RowBoxLeft = 1305;
/// The height of a row's text box, in twips.
inline constexpr int RowBoxHeight = 285;

/// The top of row `row`'s box, in twips from the frame's top.
constexpr int rowTop(int row) { return 270 + 405 * row; }

/// A frame of the column right of the picture, `top` and `height` in twips.
QGroupBox* makeSideFrame(QWidget* surface, const char* name, const QString& caption, int top, int height);

/// The caption of row `row`, `width` twips wide.
QLabel* makeRowCaption(QWidget* frame, const char* name, const QString& caption, int row, int width = 1080);

/// Places `box` as row `row`'s box, `width` twips wide.
template <typename Box>
Box* placeRowBox(Box* box, const char* name, int row, int width)
{
    return place(box, name, RowBoxLeft, rowTop(row), width, RowBoxHeight);
}

/// The unit of row `row`, right after a box `boxWidth` twips wide.
QLabel* makeRowUnit(QWidget* frame, const char* name, const QString& unit, int row, int boxWidth, int width = 225);

/// A control and its object name, for the kit to build it into the window's member.
template <typename Control>
struct Named {
    const char* name;
    QPointer<Control>& control;
};

} // namespace kerf::ui
