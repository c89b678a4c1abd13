// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/inch_canvas.h"

#include "render/pixel_lines.h"

#include <algorithm>
#include <cmath>

#include <QPaintDevice>
#include <QPainter>
#include <QPen>

namespace kerf::map {

InchCanvas::InchCanvas(QPainter& painter, double pixelsPerInch)
    : painter_(painter), pixelsPerInch_(pixelsPerInch)
{
    const double ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    devicePixelsPerInch_ = pixelsPerInch * ratio * painter.transform().m11();
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setBrush(Qt::NoBrush);
    batch_.reserve(4096);
}

InchCanvas::~InchCanvas() { flush(); }

void InchCanvas::flush()
{
    flushSpans();
    if (pixels_)
        pixels_->flush();
    if (batch_.empty())
        return;
    painter_.setPen(QPen(batchColour_, 0));
    painter_.drawLines(batch_.data(), static_cast<int>(batch_.size()));
    batch_.clear();
}

void InchCanvas::writeLinesInto(PixelLines* pixels)
{
    flush();
    pixels_ = pixels;
}

void InchCanvas::usePen(const QColor& colour)
{
    flush();
    painter_.setPen(QPen(colour, 0));
}

void InchCanvas::point(float x, float y, const QColor& colour)
{
    usePen(colour);
    painter_.drawPoint(toPixels(x, y));
    current_ = {x, y};
}

void InchCanvas::circle(float x, float y, float radius, const QColor& colour)
{
    usePen(colour);
    const double r = radius * pixelsPerInch_;
    painter_.drawEllipse(toPixels(x, y), r, r);
    current_ = {x, y};
}

void InchCanvas::line(float x1, float y1, float x2, float y2, const QColor& colour)
{
    current_ = {x1, y1};
    lineRel(x2 - x1, y2 - y1, colour);
    current_ = {x2, y2};
}

void InchCanvas::lineRel(float dx, float dy, const QColor& colour)
{
    flushSpans();
    const QPointF end(current_.x() + dx, current_.y() + dy);
    const QLineF line(toPixels(current_.x(), current_.y()), toPixels(end.x(), end.y()));
    current_ = end;
    if (pixels_)
        return pixels_->line(line.p1(), line.p2(), colour.rgba());
    if (colour != batchColour_) {
        flush();
        batchColour_ = colour;
    }
    batch_.push_back(line);
    if (batch_.size() >= 4096)
        flush();
}

void InchCanvas::band(QPointF from, QPointF to, double thickness, const QColor& colour)
{
    flush();
    // A flat-capped line as thick as the dies, at least one device pixel.
    const double minimum = pixelsPerInch_ / devicePixelsPerInch_;
    QPen pen(colour, std::max(thickness * pixelsPerInch_, minimum), Qt::SolidLine, Qt::FlatCap);
    painter_.setPen(pen);
    painter_.drawLine(toPixels(from.x(), from.y()), toPixels(to.x(), to.y()));
}

void InchCanvas::addSpan(std::vector<Span>& spans, double across, double from, double to, const QColor& colour)
{
    if (spansPending_ && colour != spanColour_)
        flushSpans();
    spanColour_ = colour;
    const double index = std::floor(across * devicePixelsPerInch_);
    if (index < 0 || index > 1 << 16)
        return; // far outside any picture
    const auto i = static_cast<std::size_t>(index);
    if (spans.size() <= i)
        spans.resize(i + 1);
    Span& span = spans[i];
    const double a = from * devicePixelsPerInch_;
    const double b = to * devicePixelsPerInch_;
    if (span.to < span.from) {
        span = {a, b};
    } else {
        span.from = std::min(span.from, a);
        span.to = std::max(span.to, b);
    }
    spansPending_ = true;
}

void InchCanvas::flushSpans()
{
    if (!spansPending_)
        return;
    spansPending_ = false;
    // Each span fills whole device pixels across, its length as drawn.
    const double toLogical = pixelsPerInch_ / devicePixelsPerInch_;
    for (std::size_t i = 0; i < rowSpans_.size(); ++i) {
        const Span& span = rowSpans_[i];
        if (span.to >= span.from)
            painter_.fillRect(QRectF(span.from * toLogical, double(i) * toLogical, (span.to - span.from) * toLogical,
                                     toLogical),
                              spanColour_);
    }
    for (std::size_t i = 0; i < columnSpans_.size(); ++i) {
        const Span& span = columnSpans_[i];
        if (span.to >= span.from)
            painter_.fillRect(QRectF(double(i) * toLogical, span.from * toLogical, toLogical,
                                     (span.to - span.from) * toLogical),
                              spanColour_);
    }
    rowSpans_.clear();
    columnSpans_.clear();
}

void InchCanvas::horizontalBand(float x1, float x2, float y, float height, const QColor& colour)
{
    if (height * devicePixelsPerInch_ <= 1.0) {
        addSpan(rowSpans_, y, x1, x2, colour);
        return;
    }
    band({x1, y}, {x2, y}, height, colour);
}

void InchCanvas::fill(const QPainterPath& inches, const QColor& colour)
{
    flush();
    painter_.fillPath(QTransform::fromScale(pixelsPerInch_, pixelsPerInch_).map(inches), colour);
}

void InchCanvas::verticalBand(float x, float y1, float y2, float width, const QColor& colour)
{
    if (width * devicePixelsPerInch_ <= 1.0) {
        addSpan(columnSpans_, x, y1, y2, colour);
        return;
    }
    band({x, y1}, {x, y2}, width, colour);
}

} // namespace kerf::map
