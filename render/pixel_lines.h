// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <vector>

#include <QImage>
#include <QPointF>
#include <QTransform>

namespace kerf::map {

/// One-pixel lines written straight into the pixels of a 32-bit image, as
/// the painter's aliased cosmetic pen (square caps) rasterises them: the
/// same fixed-point walk along the longer axis, the same clipping, so that
/// a line takes the pixels a QPainter::drawLine would. A pixel keeps the
/// first value written on it (an empty pixel holds 0). Lines wait in a
/// batch and are written band of rows by band, so that a large image is
/// walked through its cache once per batch rather than once per line: the
/// cost is the lines' pixels, with no painter call.
class PixelLines {
public:
    /// Lines are given in the coordinates that `toDevice` maps to the
    /// image's device pixels (a painter's combined transform).
    PixelLines(QImage& image, const QTransform& toDevice);
    ~PixelLines() { flush(); }
    PixelLines(const PixelLines&) = delete;
    PixelLines& operator=(const PixelLines&) = delete;

    /// A solid line from `from` to `to`.
    void line(QPointF from, QPointF to, QRgb value) { add(from, to, value, false); }
    /// A dashed line with flat caps: 4 pixels on, 3 off along its longer
    /// axis, from its start (a pen of pattern {4, 3}).
    void dashedLine(QPointF from, QPointF to, QRgb value) { add(from, to, value, true); }

    /// Writes the waiting lines: before anything else draws on the image.
    void flush();

private:
    // A line's walk: pixels u = first … first + count − 1 along its longer
    // axis, across at v >> 16, v starting at `v` and growing by `increment`.
    struct Walk {
        int first;
        int count;
        int v;
        int increment;
        QRgb value;
        bool upright;
        bool dashed;
        bool reversed;
    };

    void add(QPointF from, QPointF to, QRgb value, bool dashed);
    /// Clips the line to a pixel beyond the image's edges; false when nothing is left.
    bool clip(double& x1, double& y1, double& x2, double& y2) const;
    /// Writes the pixels of `walk` on rows top … bottom − 1.
    void write(const Walk& walk, int top, int bottom);
    QRgb* bits_;
    qsizetype stride_;
    int width_;
    int height_;
    QTransform toDevice_;
    std::vector<Walk> waiting_;
    std::uint64_t waitingPixels_ = 0;
};

} // namespace kerf::map
