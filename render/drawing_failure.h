// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <stdexcept>

#include <QImage>
#include <QSize>

class QPainter;
class QPaintDevice;

namespace kerf::map {

// A picture is drawn whole or not at all: an image that cannot be allocated
// or a painter that cannot start ends the drawing, never a picture with
// parts left out.

/// A picture that cannot be drawn; what() is the reason in Traditional
/// Chinese, whole sentences, for a message box or standard error.
class DrawingFailed : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// An image of `size` pixels, its content undefined; std::bad_alloc when it
/// cannot be allocated (Qt gives a null image then), or when the memory left
/// beside it would not hold another copy of it and some more, which Qt needs
/// to draw into it and save it (Qt ends the process where memory runs out
/// inside it). Allocate the image before other drawing work. Like beginPainting, it
/// first makes sure the drawing's threads are there (prepareDrawingThreads).
QImage allocatedImage(QSize size, QImage::Format format);

/// std::bad_alloc unless `bytes` of memory are free now, under the address
/// space limit (ulimit -v) and the data limit (ulimit -d) alike. For drawing
/// that Qt ends the process in where memory runs out (fonts, the PDF and SVG
/// painters, widgets and charts): called with the room the drawing needs at
/// most before it starts, so that it starts only where it can finish.
void requireDrawingRoom(qsizetype bytes);

/// The room the drawings need that Qt does not let fail cleanly, found by
/// running them under ulimit -v and -d, with a margin: the job sheet (its
/// fonts), the SVG map, Qt's start for the command line's drawing (its
/// platform plugin) and the desktop program's start (its windows and fonts).
inline constexpr qsizetype JobSheetDrawingRoom = qsizetype(96) << 20;
inline constexpr qsizetype SvgDrawingRoom = qsizetype(64) << 20;
inline constexpr qsizetype QtStartRoom = qsizetype(64) << 20;
inline constexpr qsizetype DesktopStartRoom = qsizetype(256) << 20;

/// Begins `painter` on `device`; DrawingFailed when it cannot start.
void beginPainting(QPainter& painter, QPaintDevice& device);

} // namespace kerf::map
