#include "designer/cut_path_picture.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include <QPainter>
#include <QPen>

#include "designer/inch_canvas.h"

namespace kerf::map {

namespace {

constexpr std::uint64_t ProgressEvery = 1u << 15;
constexpr QRgb Opaque = 0xFF000000u;

QRgb stepValue(std::uint64_t step) { return Opaque | static_cast<QRgb>(step + 1); }

// One layer: a painter that keeps the first value drawn on each pixel
// (destination over an empty, transparent layer), and the layer's pixels for
// the motions too small to be worth a painter call.
class Layer {
public:
    Layer(QImage& image, const MapView& view, qreal ratio, const QPen& pen)
        : image_(image), bits_(image.bits()), stride_(image.bytesPerLine() / 4), ratio_(ratio),
          pixelsPerInch_(view.pixelsPerInch), offset_(view.painterOffset()), pen_(pen), painter_(&image)
    {
        painter_.setCompositionMode(QPainter::CompositionMode_DestinationOver);
        painter_.setRenderHint(QPainter::Antialiasing, false);
        painter_.setBrush(Qt::NoBrush);
        painter_.translate(offset_);
    }

    QPainter& painter() { return painter_; }

    // Device pixel of a picture point.
    QPointF device(QPointF inches) const { return (inches * pixelsPerInch_ + offset_) * ratio_; }

    // Marks the pixels from `a` to `b` (device pixels, at most a couple apart).
    void markSmall(QPointF a, QPointF b, QRgb value)
    {
        const int x0 = static_cast<int>(std::floor(std::min(a.x(), b.x())));
        const int x1 = static_cast<int>(std::floor(std::max(a.x(), b.x())));
        const int y0 = static_cast<int>(std::floor(std::min(a.y(), b.y())));
        const int y1 = static_cast<int>(std::floor(std::max(a.y(), b.y())));
        for (int y = std::max(y0, 0); y <= std::min(y1, image_.height() - 1); ++y)
            for (int x = std::max(x0, 0); x <= std::min(x1, image_.width() - 1); ++x) {
                QRgb& pixel = reinterpret_cast<QRgb*>(bits_)[static_cast<qsizetype>(y) * stride_ + x];
                if (pixel == 0)
                    pixel = value;
            }
    }

    // Lines batched per step, drawn with the layer's pen.
    void addLine(QPointF from, QPointF to, QRgb value)
    {
        if (value != batchValue_)
            flush();
        batchValue_ = value;
        batch_.emplace_back(from * pixelsPerInch_, to * pixelsPerInch_);
        if (batch_.size() >= 4096)
            flush();
    }
    void flush()
    {
        if (batch_.empty())
            return;
        QPen pen = pen_;
        pen.setColor(QColor::fromRgba(batchValue_));
        painter_.setPen(pen);
        painter_.drawLines(batch_.data(), static_cast<int>(batch_.size()));
        batch_.clear();
    }
    void ellipse(QPointF centre, double radius, QRgb value)
    {
        flush();
        QPen pen = pen_;
        pen.setColor(QColor::fromRgba(value));
        painter_.setPen(pen);
        painter_.drawEllipse(centre * pixelsPerInch_, radius * pixelsPerInch_, radius * pixelsPerInch_);
    }

private:
    QImage& image_;
    uchar* bits_;
    qsizetype stride_;
    qreal ratio_;
    double pixelsPerInch_;
    QPointF offset_;
    QPen pen_;
    QPainter painter_;
    std::vector<QLineF> batch_;
    QRgb batchValue_ = 0;
};

// The points of an arc in picture inches, close enough that the polyline
// strays less than a device pixel from it.
std::vector<QPointF> arcPoints(const Motion& motion, double devicePixelsPerInch)
{
    const double radius = motion.radius();
    const double start = std::atan2(motion.from.y - motion.centre.y, motion.from.x - motion.centre.x);
    const double sweep = motion.sweepDegrees * (std::numbers::pi / 180.0);
    const double pixels = std::abs(sweep) * radius * devicePixelsPerInch;
    const int pieces = static_cast<int>(std::clamp(std::ceil(pixels / 4), 2.0, 4096.0));
    std::vector<QPointF> points;
    points.reserve(static_cast<std::size_t>(pieces) + 1);
    for (int i = 0; i <= pieces; ++i) {
        const double angle = start + sweep * i / pieces;
        points.push_back(pictureInches({motion.centre.x + radius * std::cos(angle),
                                        motion.centre.y + radius * std::sin(angle)}));
    }
    points.back() = pictureInches(motion.to);
    return points;
}

QRectF motionBounds(const Motion& motion)
{
    if (motion.kind == MotionKind::Arc) {
        const double r = motion.radius();
        const QPointF c = pictureInches(motion.centre);
        return {c.x() - r, c.y() - r, 2 * r, 2 * r};
    }
    const QPointF a = pictureInches(motion.from);
    const QPointF b = pictureInches(motion.to);
    return QRectF(a, b).normalized();
}

bool reaches(const QRectF& bounds, const QRectF& area)
{
    return bounds.right() >= area.left() && bounds.left() <= area.right() && bounds.bottom() >= area.top() &&
           bounds.top() <= area.bottom();
}

} // namespace

CutPathLayers drawCutPathLayers(const Program& program, const MapView& view, qreal devicePixelRatio,
                                const CutPathProgress& progress, double edgeTolerance)
{
    CutPathLayers layers;
    layers.view = view;
    const qreal ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    const QSize devicePixels(static_cast<int>(std::lround(view.size.width() * ratio)),
                             static_cast<int>(std::lround(view.size.height() * ratio)));
    for (QImage* image : {&layers.cuts, &layers.travel}) {
        *image = QImage(devicePixels.expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
        image->fill(0);
        image->setDevicePixelRatio(ratio);
    }

    CutPathSteps& steps = layers.steps;
    const std::uint64_t total = program.expandedMotions();
    steps.motionsPerStep = std::max<std::uint64_t>(1, (total + CutPathSteps::MaxSteps - 1) / CutPathSteps::MaxSteps);

    const double devicePixelsPerInch = view.pixelsPerInch * ratio;
    const double pixelInches = 1.0 / devicePixelsPerInch;
    const QRectF area = view.inchRect().adjusted(-2 * pixelInches, -2 * pixelInches, 2 * pixelInches, 2 * pixelInches);

    QPen dashed(Qt::black, 0, Qt::CustomDashLine, Qt::FlatCap);
    dashed.setDashPattern({4, 3});
    Layer travel(layers.travel, view, ratio, dashed);
    // One pixel, or as wide as the tolerance where it spans pixels.
    const int cutWidth = 1 + 2 * static_cast<int>(std::lround(std::max(0.0, edgeTolerance) * devicePixelsPerInch));
    QPen widePen(Qt::black, std::min(cutWidth, 15), Qt::SolidLine, Qt::SquareCap);
    widePen.setCosmetic(true);
    const bool wide = cutWidth > 1;
    Layer cutPixels(layers.cuts, view, ratio, wide ? widePen : QPen(Qt::black, 0));
    bool cancelled = false;
    std::uint64_t seen = 0;
    {
        // Cuts go through the map's own canvas, so that they fall on the
        // pixels of the die edges they follow.
        InchCanvas cuts(cutPixels.painter(), view.pixelsPerInch);
        runProgram(program, [&](const Motion& motion) -> bool {
            if (++seen % ProgressEvery == 0 && progress && !progress(double(seen) / double(std::max<std::uint64_t>(total, 1)))) {
                cancelled = true;
                return false;
            }
            if (motion.retrace)
                return true;
            const std::uint64_t step = steps.motions++ / steps.motionsPerStep;
            if (step == steps.headAfter.size() - 1)
                steps.headAfter.push_back(motion.to);
            else
                steps.headAfter.back() = motion.to;

            const QRectF bounds = motionBounds(motion);
            if (!reaches(bounds, area))
                return true;
            const QRgb value = stepValue(step);
            const bool small = bounds.width() < 2 * pixelInches && bounds.height() < 2 * pixelInches;
            if (small) {
                // Smaller than the pixels: marking them is what a drawing would do.
                Layer& layer = motion.cutting ? cutPixels : travel;
                if (motion.cutting)
                    cuts.flush();
                layer.flush();
                layer.markSmall(layer.device(bounds.topLeft()), layer.device(bounds.bottomRight()), value);
                return true;
            }
            const QColor colour = QColor::fromRgba(value);
            if (motion.kind == MotionKind::Arc && std::abs(motion.sweepDegrees) >= 360) {
                const QPointF centre = pictureInches(motion.centre);
                if (motion.cutting && !wide)
                    cuts.circle(static_cast<float>(centre.x()), static_cast<float>(centre.y()),
                                static_cast<float>(motion.radius()), colour);
                else
                    (motion.cutting ? cutPixels : travel).ellipse(centre, motion.radius(), value);
                return true;
            }
            std::vector<QPointF> points;
            if (motion.kind == MotionKind::Arc)
                points = arcPoints(motion, devicePixelsPerInch);
            else
                points = {pictureInches(motion.from), pictureInches(motion.to)};
            for (std::size_t i = 1; i < points.size(); ++i) {
                if (motion.cutting && !wide)
                    cuts.line(static_cast<float>(points[i - 1].x()), static_cast<float>(points[i - 1].y()),
                              static_cast<float>(points[i].x()), static_cast<float>(points[i].y()), colour);
                else
                    (motion.cutting ? cutPixels : travel).addLine(points[i - 1], points[i], value);
            }
            return true;
        });
    }
    travel.flush();
    cutPixels.flush();
    layers.complete = !cancelled;
    return layers;
}

QImage cutPathOverlay(const CutPathLayers& layers, std::uint32_t doneSteps)
{
    QImage overlay(layers.cuts.size(), QImage::Format_ARGB32_Premultiplied);
    overlay.setDevicePixelRatio(layers.cuts.devicePixelRatio());
    const QRgb cut = CutColour.rgba();
    const QRgb travel = TravelColour.rgba();
    for (int y = 0; y < overlay.height(); ++y) {
        const auto* cuts = reinterpret_cast<const QRgb*>(layers.cuts.constScanLine(y));
        const auto* moves = reinterpret_cast<const QRgb*>(layers.travel.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(overlay.scanLine(y));
        for (int x = 0; x < overlay.width(); ++x) {
            const QRgb c = cuts[x] & 0xFFFFFFu;
            const QRgb m = moves[x] & 0xFFFFFFu;
            out[x] = (c != 0 && c <= doneSteps) ? cut : (m != 0 && m <= doneSteps) ? travel : 0;
        }
    }
    return overlay;
}

} // namespace kerf::map
