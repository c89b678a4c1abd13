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

/// Begins `painter` on `device`; DrawingFailed when it cannot start.
void beginPainting(QPainter& painter, QPaintDevice& device);

} // namespace kerf::map
