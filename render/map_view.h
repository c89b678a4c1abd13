// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointF>
#include <QRectF>
#include <QSize>

#include "layout/wafer_layout.h"

class QPainter;

namespace kerf::map {

/// A view of the picture: the part of it that a widget of `size` logical
/// pixels shows, at one scale across and down, so the map stays true to
/// scale. Picture inches as the designer's: origin top left, Y down.
struct MapView {
    /// Bounds of the scale: a quarter of the designer's up to 2000 times it
    /// (a die of 0.2 mil is then some 40 pixels wide).
    static constexpr double MinPixelsPerInch = 24.0;
    static constexpr double MaxPixelsPerInch = 96.0 * 2000;

    double pixelsPerInch = 96.0;
    QPointF topLeft; // the picture point at the widget's top-left corner, inches
    QSize size;      // logical pixels

    /// What a painter over the widget is translated by to draw in picture
    /// inches: the top-left corner, and a small fraction of a pixel more. The
    /// painter cuts coordinates down to 1/64 pixel; drawings of the same edge
    /// from two sources (a die from the layout, its cut from the program)
    /// differ by far less than that, but where they lie on a pixel boundary
    /// (the wafer centre in a view of even size) they would fall on the two
    /// pixels beside it. Off the boundary they fall on the same one.
    QPointF painterOffset() const { return -topLeft * pixelsPerInch + QPointF(1.0 / 128, 1.0 / 128); }

    /// Widget pixels of a picture point, and back.
    QPointF toPixels(QPointF inches) const { return (inches - topLeft) * pixelsPerInch; }
    QPointF toInches(QPointF pixels) const { return topLeft + pixels / pixelsPerInch; }
    /// The picture area that the view shows, inches.
    QRectF inchRect() const;

    bool operator==(const MapView&) const = default;
};

/// The view of `size` pixels that shows `inches` whole and centred, at the
/// largest scale within the bounds.
MapView fitView(QSize size, const QRectF& inches);

/// The view scaled by `factor` (within the bounds) about the widget pixel
/// `anchor`: the picture point under it stays under it.
MapView zoomedAbout(const MapView& view, QPointF anchor, double factor);

/// The view moved with the pointer: the picture follows a drag of `pixels`.
MapView panned(const MapView& view, QPointF pixels);

/// The same view for a widget of another size; the top-left point stays.
MapView resized(const MapView& view, QSize size);

/// The part of `layout` that can show in `inches`: only the rows that reach
/// into it, each cut down to its dies (squares: its segments) that reach into
/// it, with the positions those dies have in the whole layout (exact, as the
/// drawing walks them). Drawing it draws the same pixels inside `inches` as
/// drawing the whole layout, at a cost bounded by what is visible.
WaferLayout visibleLayout(const WaferLayout& layout, const QRectF& inches);

/// The wafer map as the designer draws it (outline of `waferRadius` about the
/// wafer centre, then the dies), for the part of the picture in `view`, on a
/// painter whose device is `view.size` logical pixels.
void drawWaferMap(QPainter& painter, const MapView& view, const WaferLayout& layout, float waferRadius);

} // namespace kerf::map
