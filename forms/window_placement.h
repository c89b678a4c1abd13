// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace kerf::ui {

/// How far each further tool window opens from the one before, in pixels.
inline constexpr int CascadeStep = 32;

/// Where the top-left corner of a tool window's frame of size `window` goes
/// so that it stands beside `anchor` (the main menu's frame) inside `screen`:
/// to its right, else to its left, else below, else above, top- or
/// left-aligned with it and moved on by `cascade` steps, so that the
/// `cascade`-th window open at once does not cover the others. The first of
/// these places that, moved inside the screen, does not overlap the anchor
/// wins; when none is free (a window larger than the screen's room), the one
/// covering the least of the anchor.
QPoint placeBeside(const QRect& anchor, const QSize& window, const QRect& screen, int cascade);

/// Moves `window`, not shown yet, beside the main menu (the top of its chain
/// of owners) as `placeBeside` says, cascaded after the other windows of the
/// menu that are shown; nothing when it has no owner or the menu is hidden.
void moveBesideMenu(QWidget* window);

/// The size a resizable window of `wanted` size (its client area) takes on
/// `screen` (the available area) with a frame that adds `frame`: as wanted,
/// shrunk where the frame would not fit, but never below `least`.
QSize sizeInside(const QSize& wanted, const QSize& frame, const QRect& screen, const QSize& least);

/// The frame a window not shown yet is taken to have: its owner's frame, or
/// a usual title bar and border when that is not known (empty: no owner on
/// screen, or one shown a moment ago that the window manager has not framed yet).
QSize assumedFrame(const QSize& ownerFrame);

/// Resizes `window`, not shown yet, to `wanted`, shrunk to fit inside the
/// available area of its owner's screen (the primary screen without owner).
void fitWindow(QWidget* window, const QSize& wanted);

/// The window flags of a window whose size is fixed: a title, a system
/// menu, minimise and close, and no maximise button that would do nothing.
void offerNoMaximize(QWidget* window);

} // namespace kerf::ui
