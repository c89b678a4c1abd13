// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include <QColor>
#include <QLineF>
#include <QPainterPath>
#include <QPointF>

class QPainter;

namespace kerf::map {

class PixelLines;

/// The map's two colours: outline and centre point, dies and cut segments.
inline const QColor Black{0, 0, 0};
inline const QColor Red{255, 0, 0};

/// Drawing in inches on a painter: origin top left, X right, Y down, with a
/// current point as the picture box keeps one. The pen is one pixel wide and
/// not antialiased. Lines of one colour are sent to the painter in batches;
/// the batch is flushed before any other drawing and when the canvas ends.
class InchCanvas {
public:
    /// `pixelsPerInch` is in the painter's logical pixels (96 on the screen);
    /// the painter's own device-pixel ratio comes on top of it.
    explicit InchCanvas(QPainter& painter, double pixelsPerInch = 96.0);
    ~InchCanvas();
    InchCanvas(const InchCanvas&) = delete;
    InchCanvas& operator=(const InchCanvas&) = delete;

    /// One pixel at (x, y); the current point becomes (x, y).
    void point(float x, float y, const QColor& colour);
    /// A circle outline of `radius` about (x, y); the current point becomes (x, y).
    void circle(float x, float y, float radius, const QColor& colour);
    /// A line from (x1, y1) to (x2, y2); the current point becomes (x2, y2).
    void line(float x1, float y1, float x2, float y2, const QColor& colour);
    /// A line from the current point by (dx, dy), whose end becomes the current point.
    void lineRel(float dx, float dy, const QColor& colour);
    /// Sets the current point without drawing.
    void moveTo(float x, float y) { current_ = {x, y}; }
    float currentX() const { return static_cast<float>(current_.x()); }
    float currentY() const { return static_cast<float>(current_.y()); }

    /// A horizontal band from x1 to x2 centred on y, `height` inches high but
    /// never thinner than one device pixel: a row of dies too small to draw.
    /// Bands of at most a pixel that fall on the same pixel row are merged
    /// into one span, so that many thousand rows cost a few hundred fills.
    void horizontalBand(float x1, float x2, float y, float height, const QColor& colour);
    /// The same standing upright: from y1 down to y2, centred on x.
    void verticalBand(float x, float y1, float y2, float width, const QColor& colour);

    /// Fills `inches` (a path measured in inches) in `colour`, without an outline.
    void fill(const QPainterPath& inches, const QColor& colour);

    /// Device pixels an inch, to decide whether a die is large enough to draw.
    double devicePixelsPerInch() const { return devicePixelsPerInch_; }

    /// Sends the batched lines to the painter.
    void flush();

    /// Lines go straight into `pixels` (the painter's image, with its
    /// transform) instead of the painter: the same pixels, without a
    /// painter call per colour. Null: back to the painter.
    void writeLinesInto(PixelLines* pixels);

private:
    QPointF toPixels(double x, double y) const { return {x * pixelsPerInch_, y * pixelsPerInch_}; }
    void usePen(const QColor& colour);
    void band(QPointF from, QPointF to, double thickness, const QColor& colour);
    // Thin bands gathered per device pixel row (horizontal) or column (vertical).
    struct Span {
        double from = 0;
        double to = -1; // empty while to < from
    };
    void addSpan(std::vector<Span>& spans, double across, double from, double to, const QColor& colour);
    void flushSpans();

    QPainter& painter_;
    double pixelsPerInch_;
    double devicePixelsPerInch_;
    QPointF current_;
    QColor batchColour_;
    std::vector<QLineF> batch_;
    PixelLines* pixels_ = nullptr;
    QColor spanColour_;
    std::vector<Span> rowSpans_;
    std::vector<Span> columnSpans_;
    bool spansPending_ = false;
};

} // namespace kerf::map
