// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/cut_path_picture.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>

#include <QPainter>
#include <QPen>

#include "render/drawing_failure.h"
#include "render/inch_canvas.h"
#include "render/pixel_lines.h"
#include "numbers/decimal.h"

namespace kerf::map {

namespace {

constexpr std::uint64_t ProgressEvery = 1u << 8;
constexpr QRgb Opaque = 0xFF000000u;

QRgb stepValue(std::uint64_t step) { return Opaque | static_cast<QRgb>(step + 1); }

// One layer: its one-pixel lines written into its pixels as the painter would
// draw them (PixelLines), a painter for the rest (circles, wide pens) that
// keeps the first value drawn on each pixel (destination over an empty,
// transparent layer), and the pixels of the motions too small to draw.
class Layer {
public:
    Layer(QImage& image, const MapView& view, qreal ratio, const QPen& pen)
        : image_(image), bits_(image.bits()), stride_(image.bytesPerLine() / 4), ratio_(ratio),
          pixelsPerInch_(view.pixelsPerInch), offset_(view.painterOffset()), pen_(pen)
    {
        beginPainting(painter_, image);
        painter_.setCompositionMode(QPainter::CompositionMode_DestinationOver);
        painter_.setRenderHint(QPainter::Antialiasing, false);
        painter_.setBrush(Qt::NoBrush);
        painter_.translate(offset_);
        pixels_.emplace(image, painter_.combinedTransform());
    }

    QPainter& painter() { return painter_; }
    PixelLines& pixels() { return *pixels_; }

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

    // A line in picture inches with the layer's pen: one pixel wide (solid
    // or dashed) into the pixels at once, wider ones batched per value for
    // the painter.
    void addLine(QPointF from, QPointF to, QRgb value)
    {
        if (pen_.style() == Qt::CustomDashLine)
            return pixels_->dashedLine(from * pixelsPerInch_, to * pixelsPerInch_, value);
        if (value != batchValue_)
            flush();
        batchValue_ = value;
        batch_.emplace_back(from * pixelsPerInch_, to * pixelsPerInch_);
        if (batch_.size() >= 4096)
            flush();
    }
    void flush()
    {
        pixels_->flush();
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
    std::optional<PixelLines> pixels_;
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

CutPathMatch cutPathMatch(const WaferLayout& layout, double edgeTolerance)
{
    CutPathMatch match;
    match.edgeTolerance = edgeTolerance;
    if (layout.shape == DieShape::Circle) {
        match.dieRadius = Decimal::fromSingle(layout.HalfDieSize).toDouble();
        match.arcToDie = {layout.FineTune.toDecimal().half().toDouble(), 0};
    }
    return match;
}

namespace {

// The levels of a run that move its copies (a level of step zero retraces the
// path of its first copy, which is drawn once), in picture inches, the
// fastest first.
struct Level {
    QPointF step;
    std::uint64_t count = 1;
};

class PathDrawer {
public:
    PathDrawer(CutPathLayers& layers, const MapView& view, qreal ratio, const CutPathMatch& match,
               const std::function<bool()>& tick)
        : match_(match), tick_(tick), devicePixelsPerInch_(view.pixelsPerInch * ratio),
          pixelInches_(1.0 / devicePixelsPerInch_),
          area_(view.inchRect().adjusted(-2 * pixelInches_, -2 * pixelInches_, 2 * pixelInches_, 2 * pixelInches_)),
          cutWidth_(1 + 2 * static_cast<int>(std::lround(std::max(0.0, match.edgeTolerance) * devicePixelsPerInch_))),
          travel_(layers.travel, view, ratio, dashedPen()),
          cutPixels_(layers.cuts, view, ratio, cutWidth_ > 1 ? widePen(cutWidth_) : QPen(Qt::black, 0)),
          cuts_(cutPixels_.painter(), view.pixelsPerInch)
    {
        cuts_.writeLinesInto(&cutPixels_.pixels());
    }

    // Draws the copies of `run` that fall in view; false once cancelled.
    bool draw(const MotionRun& run, QRgb value)
    {
        value_ = value;
        colour_ = QColor::fromRgba(value);
        first_ = run.first;
        dieArc_ = false;
        if (first_.cutting && first_.kind == MotionKind::Arc && std::abs(first_.sweepDegrees) >= 360 &&
            match_.dieRadius > 0 && std::abs(first_.radius() - match_.dieRadius) <= match_.matchTolerance) {
            // Drawn about the die it cuts (see CutPathMatch).
            first_.centre.x += match_.arcToDie.x;
            first_.centre.y += match_.arcToDie.y;
            first_.from.x += match_.arcToDie.x;
            first_.from.y += match_.arcToDie.y;
            first_.to.x += match_.arcToDie.x;
            first_.to.y += match_.arcToDie.y;
            dieArc_ = true;
        }
        levels_.clear();
        for (std::size_t k = 0; k < run.depth; ++k)
            if (run.levels[k].count > 1 && run.levels[k].step != ProgramPoint{})
                levels_.push_back({QPointF(run.levels[k].step.x, -run.levels[k].step.y), run.levels[k].count});
        // extents_[k]: the bounds of the copies made by the levels below k.
        extents_.assign(1, motionBounds(first_));
        for (const Level& level : levels_) {
            const QRectF& inner = extents_.back();
            extents_.push_back(inner.united(inner.translated(level.step * double(level.count - 1))));
        }
        if (!reaches(extents_.back(), area_))
            return true;
        return visit(levels_.size(), QPointF());
    }

    void finish()
    {
        cuts_.flush();
        travel_.flush();
        cutPixels_.flush();
    }

private:
    static QPen dashedPen()
    {
        QPen dashed(Qt::black, 0, Qt::CustomDashLine, Qt::FlatCap);
        dashed.setDashPattern({4, 3});
        return dashed;
    }
    static QPen widePen(int width)
    {
        QPen pen(Qt::black, std::min(width, 15), Qt::SolidLine, Qt::SquareCap);
        pen.setCosmetic(true);
        return pen;
    }

    Layer& layer() { return first_.cutting ? cutPixels_ : travel_; }
    bool small(const QRectF& bounds) const
    {
        return bounds.width() < 2 * pixelInches_ && bounds.height() < 2 * pixelInches_;
    }

    // The copies i of `level` whose block (the copies of the levels below it,
    // `inner` away from `offset`) reaches the view.
    bool inView(const Level& level, const QRectF& inner, std::uint64_t& lo, std::uint64_t& hi) const
    {
        double from = 0;
        double to = static_cast<double>(level.count - 1);
        const auto axis = [&](double step, double innerLow, double innerHigh, double areaLow, double areaHigh) {
            if (step == 0) {
                if (innerHigh < areaLow || innerLow > areaHigh)
                    to = -1;
                return;
            }
            double a = (areaLow - innerHigh) / step;
            double b = (areaHigh - innerLow) / step;
            if (a > b)
                std::swap(a, b);
            from = std::max(from, std::ceil(a));
            to = std::min(to, std::floor(b));
        };
        axis(level.step.x(), inner.left(), inner.right(), area_.left(), area_.right());
        axis(level.step.y(), inner.top(), inner.bottom(), area_.top(), area_.bottom());
        if (to < from)
            return false;
        lo = static_cast<std::uint64_t>(from);
        hi = static_cast<std::uint64_t>(to);
        return true;
    }

    bool visit(std::size_t k, QPointF offset)
    {
        if (k == 0)
            return copy(offset);
        const Level& level = levels_[k - 1];
        const QRectF inner = extents_[k - 1].translated(offset);
        std::uint64_t lo = 0, hi = 0;
        if (!inView(level, inner, lo, hi))
            return true;
        const double stepPixels =
            std::max(std::abs(level.step.x()), std::abs(level.step.y())) * devicePixelsPerInch_;
        if (stepPixels < 1 && small(inner)) {
            // Copies closer than a pixel, each within a couple of pixels: the
            // pixels from one copy to a copy at most a pixel on, walked along;
            // along an axis, the pixels from the first copy to the last.
            const bool alongAxis = level.step.x() == 0 || level.step.y() == 0;
            const std::uint64_t stride =
                alongAxis ? hi - lo + 1 : std::max<std::uint64_t>(1, static_cast<std::uint64_t>(1 / stepPixels));
            if (first_.cutting)
                cuts_.flush();
            layer().flush();
            for (std::uint64_t i = lo; i <= hi; i += stride) {
                const std::uint64_t j = std::min(i + stride, hi);
                const QRectF span = inner.translated(level.step * double(i)).united(inner.translated(level.step * double(j)));
                layer().markSmall(layer().device(span.topLeft()), layer().device(span.bottomRight()), value_);
                if (!tick_())
                    return false;
                if (j == hi)
                    break;
            }
            return true;
        }
        // Copies far apart are drawn one by one; large copies closer than half
        // a pixel are drawn half a pixel apart, which is all that shows of them.
        const std::uint64_t stride =
            stepPixels < 0.5 ? std::max<std::uint64_t>(1, static_cast<std::uint64_t>(0.5 / stepPixels)) : 1;
        for (std::uint64_t i = lo; i <= hi; i += stride)
            if (!visit(k - 1, offset + level.step * double(i)))
                return false;
        return true;
    }

    bool copy(QPointF offset)
    {
        if (++copies_ % 4096 == 0 && !tick_())
            return false;
        const QRectF bounds = extents_.front().translated(offset);
        if (!reaches(bounds, area_))
            return true;
        if (small(bounds)) {
            // Smaller than the pixels: marking them is what a drawing would do.
            if (first_.cutting)
                cuts_.flush();
            layer().flush();
            layer().markSmall(layer().device(bounds.topLeft()), layer().device(bounds.bottomRight()), value_);
            return true;
        }
        const bool wide = cutWidth_ > 1;
        const ProgramPoint shift{offset.x(), -offset.y()};
        Motion m = first_;
        m.from = {m.from.x + shift.x, m.from.y + shift.y};
        m.to = {m.to.x + shift.x, m.to.y + shift.y};
        m.centre = {m.centre.x + shift.x, m.centre.y + shift.y};
        if (m.kind == MotionKind::Arc && std::abs(m.sweepDegrees) >= 360) {
            const QPointF centre = pictureInches(m.centre);
            // A die's cut takes the radius the map draws the die with.
            const double radius = dieArc_ ? match_.dieRadius : m.radius();
            if (m.cutting && !wide)
                cuts_.circle(static_cast<float>(centre.x()), static_cast<float>(centre.y()),
                             static_cast<float>(radius), colour_);
            else
                layer().ellipse(centre, radius, value_);
            return true;
        }
        std::vector<QPointF> points;
        if (m.kind == MotionKind::Arc)
            points = arcPoints(m, devicePixelsPerInch_);
        else
            points = {pictureInches(m.from), pictureInches(m.to)};
        for (std::size_t i = 1; i < points.size(); ++i) {
            if (m.cutting && !wide)
                cutLine(points[i - 1], points[i]);
            else
                layer().addLine(points[i - 1], points[i], value_);
        }
        return true;
    }

    // A cut through the map's canvas, whose lines go straight into the
    // layer's pixels, so that it takes the pixels of the die edge it follows.
    void cutLine(QPointF from, QPointF to)
    {
        cuts_.line(static_cast<float>(from.x()), static_cast<float>(from.y()), static_cast<float>(to.x()),
                   static_cast<float>(to.y()), colour_);
    }

    const CutPathMatch& match_;
    const std::function<bool()>& tick_;
    double devicePixelsPerInch_;
    double pixelInches_;
    QRectF area_;
    int cutWidth_;
    Layer travel_;
    Layer cutPixels_;
    // Cuts go through the map's own canvas, so that they fall on the pixels
    // of the die edges they follow.
    InchCanvas cuts_;

    Motion first_;
    bool dieArc_ = false;
    QRgb value_ = 0;
    QColor colour_;
    std::vector<Level> levels_;
    std::vector<QRectF> extents_;
    std::uint64_t copies_ = 0;
};

// Where the last copy of a run ends.
ProgramPoint lastEnd(const MotionRun& run)
{
    ProgramPoint end = run.first.to;
    for (std::size_t k = 0; k < run.depth; ++k) {
        const double n = run.levels[k].count > 0 ? static_cast<double>(run.levels[k].count - 1) : 0.0;
        end.x += n * run.levels[k].step.x;
        end.y += n * run.levels[k].step.y;
    }
    return end;
}

std::uint64_t saturatingAdd(std::uint64_t a, std::uint64_t b)
{
    return a > UINT64_MAX - b ? UINT64_MAX : a + b;
}

} // namespace

CutPathLayers drawCutPathLayers(const Program& program, const MapView& view, qreal devicePixelRatio,
                                const CutPathProgress& progress, const CutPathMatch& match)
{
    CutPathLayers layers;
    layers.view = view;
    const qreal ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    const QSize devicePixels(static_cast<int>(std::lround(view.size.width() * ratio)),
                             static_cast<int>(std::lround(view.size.height() * ratio)));
    for (QImage* image : {&layers.cuts, &layers.travel}) {
        *image = allocatedImage(devicePixels.expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
        image->fill(0);
        image->setDevicePixelRatio(ratio);
    }

    // The first run counts the runs, which the steps are made of; the second
    // makes the steps and draws.
    double share = 0;
    std::uint64_t ticks = 0;
    bool cancelled = false;
    const std::function<bool()> tick = [&] {
        if (++ticks % ProgressEvery != 0 || !progress)
            return true;
        cancelled = cancelled || !progress(std::clamp(share, 0.0, 1.0));
        return !cancelled;
    };
    const double expected = static_cast<double>(std::max<std::uint64_t>(program.expandedMotions(), 1));
    std::uint64_t runs = 0;
    std::uint64_t motions = 0;
    const RunSummary counted = runProgramRuns(program, [&](const MotionRun& run) {
        motions = saturatingAdd(motions, run.copies());
        share = 0.5 * std::min(1.0, static_cast<double>(motions) / expected);
        runs += run.first.retrace ? 0 : 1;
        return tick();
    });
    if (cancelled) {
        layers.complete = false;
        return layers;
    }

    CutPathSteps& steps = layers.steps;
    steps.runsPerStep = std::max<std::uint64_t>(1, (runs + CutPathSteps::MaxSteps - 1) / CutPathSteps::MaxSteps);
    steps.headAfter.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(runs, CutPathSteps::MaxSteps)) + 1);
    steps.motionsAfter.reserve(steps.headAfter.capacity());
    std::uint64_t motionsMade = 0;
    PathDrawer drawer(layers, view, ratio, match, tick);
    const RunSummary drawn = runProgramRuns(program, [&](const MotionRun& run) -> bool {
        motionsMade = saturatingAdd(motionsMade, run.copies());
        if (run.first.retrace) {
            // A later pass over the same path: its motions count, it is not drawn again.
            steps.motionsAfter.back() = motionsMade;
            return true;
        }
        const std::uint64_t step = steps.runs++ / steps.runsPerStep;
        share = 0.5 + 0.5 * static_cast<double>(steps.runs) / static_cast<double>(std::max<std::uint64_t>(runs, 1));
        if (step == steps.headAfter.size() - 1) {
            steps.headAfter.push_back(lastEnd(run));
            steps.motionsAfter.push_back(motionsMade);
        } else {
            steps.headAfter.back() = lastEnd(run);
            steps.motionsAfter.back() = motionsMade;
        }
        return tick() && drawer.draw(run, stepValue(step));
    });
    drawer.finish();
    layers.beyondBounds = counted.beyondBounds || drawn.beyondBounds;
    layers.complete = !cancelled;
    return layers;
}

QImage cutPathOverlay(const CutPathLayers& layers, std::uint32_t doneSteps)
{
    QImage overlay = allocatedImage(layers.cuts.size(), QImage::Format_ARGB32_Premultiplied);
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
