// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/preview/cut_path_view.h"

#include <cmath>
#include <new>

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include "render/drawing_failure.h"

namespace kerf::ui {

namespace {

const QColor Background{255, 255, 255};
constexpr double HeadRadiusPixels = 5.0;

// The wafer and a small margin, or the whole picture when no size was chosen.
QRectF waferArea(const WaferLayout* layout)
{
    const double radius = layout && layout->WaferDiameter > 0 ? layout->WaferDiameter / 2.0 : 2.625;
    const double margin = radius * 0.04;
    return {CenterX - radius - margin, CenterY - radius - margin, 2 * (radius + margin), 2 * (radius + margin)};
}

} // namespace

CutPathView::CutPathView(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(false);
    setFocusPolicy(Qt::WheelFocus);
    setCursor(Qt::OpenHandCursor);
    setMinimumSize(200, 200);
    view_ = map::fitView(size(), waferArea(nullptr));
}

void CutPathView::setLayout(std::shared_ptr<const WaferLayout> layout, bool keepView)
{
    layout_ = std::move(layout);
    mapImageView_.reset();
    if (keepView) {
        update();
        emit viewChanged(true);
    } else {
        fitAll();
    }
}

void CutPathView::setOverlay(QImage overlay, const map::MapView& view)
{
    overlay_ = std::move(overlay);
    overlayView_ = view;
    update();
}

void CutPathView::setHead(std::optional<QPointF> head)
{
    head_ = head;
    update();
}

void CutPathView::setView(const map::MapView& view)
{
    view_ = map::resized(view, size());
    followsFit_ = false;
    update();
    emit viewChanged(true);
}

void CutPathView::fitAll()
{
    followsFit_ = true;
    view_ = map::fitView(size(), waferArea(layout_.get()));
    update();
    emit viewChanged(true);
}

const QImage& CutPathView::mapImage() const
{
    if (mapImageView_ && *mapImageView_ == view_)
        return mapImage_;
    const qreal ratio = devicePixelRatioF();
    mapImage_ = map::allocatedImage(view_.size.expandedTo(QSize(1, 1)) * ratio, QImage::Format_RGB32);
    mapImage_.setDevicePixelRatio(ratio);
    mapImage_.fill(Background);
    if (layout_) {
        QPainter painter;
        map::beginPainting(painter, mapImage_);
        map::drawWaferMap(painter, view_, *layout_, layout_->WaferDiameter / 2);
    }
    mapImageView_ = view_;
    return mapImage_;
}

void CutPathView::paintPicture(QPainter& painter) const
{
    painter.fillRect(QRect(QPoint(0, 0), view_.size), Background);
    painter.drawImage(QPointF(0, 0), mapImage());
    if (!overlay_.isNull()) {
        if (overlayView_ == view_) {
            painter.drawImage(QPointF(0, 0), overlay_);
        } else {
            // The path of an earlier view, scaled to this one while it is redrawn.
            const double scale = view_.pixelsPerInch / overlayView_.pixelsPerInch;
            const QRectF target(view_.toPixels(overlayView_.topLeft), QSizeF(overlayView_.size) * scale);
            painter.drawImage(target, overlay_);
        }
    }
    if (head_) {
        const QPointF at = view_.toPixels(*head_);
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setPen(QPen(Qt::black, 1.5));
        painter.setBrush(HeadColour);
        painter.drawEllipse(at, HeadRadiusPixels, HeadRadiusPixels);
        painter.drawLine(at - QPointF(HeadRadiusPixels * 2, 0), at - QPointF(HeadRadiusPixels, 0));
        painter.drawLine(at + QPointF(HeadRadiusPixels, 0), at + QPointF(HeadRadiusPixels * 2, 0));
        painter.drawLine(at - QPointF(0, HeadRadiusPixels * 2), at - QPointF(0, HeadRadiusPixels));
        painter.drawLine(at + QPointF(0, HeadRadiusPixels), at + QPointF(0, HeadRadiusPixels * 2));
    }
}

QImage CutPathView::picture() const
{
    const qreal ratio = devicePixelRatioF();
    QImage image = map::allocatedImage(view_.size.expandedTo(QSize(1, 1)) * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    QPainter painter;
    map::beginPainting(painter, image);
    paintPicture(painter);
    return image;
}

void CutPathView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    try {
        paintPicture(painter);
    } catch (const std::bad_alloc&) {
        // No room for the map's image: said here, not in a box, which every
        // repaint after it closed would bring back.
        painter.fillRect(rect(), Background);
        painter.drawText(rect(), Qt::AlignCenter, QStringLiteral("記憶體不足，無法繪製晶片圖。"));
    }
}

void CutPathView::resizeEvent(QResizeEvent*)
{
    if (followsFit_) {
        view_ = map::fitView(size(), waferArea(layout_.get()));
    } else {
        // The centre of the view stays where it was.
        const QPointF centre = view_.toInches(QPointF(view_.size.width(), view_.size.height()) / 2);
        view_ = map::resized(view_, size());
        view_.topLeft = centre - QPointF(size().width(), size().height()) / 2 / view_.pixelsPerInch;
    }
    emit viewChanged(true);
}

void CutPathView::wheelEvent(QWheelEvent* event)
{
    const double steps = event->angleDelta().y() / 120.0;
    if (steps == 0)
        return;
    view_ = map::zoomedAbout(view_, event->position(), std::pow(2.0, steps / 4));
    followsFit_ = false;
    update();
    emit viewChanged(true);
    event->accept();
}

void CutPathView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    dragFrom_ = event->position();
    setCursor(Qt::ClosedHandCursor);
}

void CutPathView::mouseMoveEvent(QMouseEvent* event)
{
    if (!dragFrom_)
        return QWidget::mouseMoveEvent(event);
    view_ = map::panned(view_, event->position() - *dragFrom_);
    dragFrom_ = event->position();
    followsFit_ = false;
    update();
    emit viewChanged(false);
}

void CutPathView::mouseReleaseEvent(QMouseEvent* event)
{
    if (!dragFrom_ || event->button() != Qt::LeftButton)
        return QWidget::mouseReleaseEvent(event);
    dragFrom_.reset();
    setCursor(Qt::OpenHandCursor);
    emit viewChanged(true);
}

} // namespace kerf::ui
