// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/picture_box.h"

#include <QPen>

#include <cmath>

#include <QPainter>

#include "render/drawing_failure.h"

namespace kerf::ui {

namespace {
constexpr int BorderPixels = 2;
constexpr int InnerSidePixels = PictureBox::OuterSidePixels - 2 * BorderPixels;
const QColor Background{255, 255, 255};
} // namespace

PictureBox::PictureBox(QWidget* parent) : QFrame(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(BorderPixels);
    setFixedSize(OuterSidePixels, OuterSidePixels);
    setAttribute(Qt::WA_OpaquePaintEvent);
    const qreal ratio = devicePixelRatioF();
    image_ = map::allocatedImage(QSize(InnerSidePixels, InnerSidePixels) * ratio, QImage::Format_RGB32);
    image_.setDevicePixelRatio(ratio);
    image_.fill(Background);
}

float PictureBox::scaleWidth() const { return static_cast<float>(InnerSidePixels / PixelsPerInch); }
float PictureBox::scaleHeight() const { return static_cast<float>(InnerSidePixels / PixelsPerInch); }

void PictureBox::Cls()
{
    image_.fill(Background);
    currentX_ = currentY_ = 0;
    update();
}

void PictureBox::draw(const std::function<void(map::InchCanvas&)>& drawing)
{
    {
        QPainter painter;
        map::beginPainting(painter, image_);
        map::InchCanvas canvas(painter, PixelsPerInch);
        canvas.moveTo(currentX_, currentY_);
        drawing(canvas);
        currentX_ = canvas.currentX();
        currentY_ = canvas.currentY();
    }
    update();
}

void PictureBox::PSet(float x, float y, const QColor& colour)
{
    draw([&](map::InchCanvas& canvas) { canvas.point(x, y, colour); });
}

void PictureBox::Circle(float x, float y, float radius, const QColor& colour)
{
    draw([&](map::InchCanvas& canvas) { canvas.circle(x, y, radius, colour); });
}

void PictureBox::Line(float x1, float y1, float x2, float y2, const QColor& colour)
{
    draw([&](map::InchCanvas& canvas) { canvas.line(x1, y1, x2, y2, colour); });
}

void PictureBox::LineRel(float dx, float dy, const QColor& colour)
{
    draw([&](map::InchCanvas& canvas) { canvas.lineRel(dx, dy, colour); });
}

QColor PictureBox::colourAt(float x, float y) const
{
    const double ratio = image_.devicePixelRatio();
    const int px = static_cast<int>(std::floor(x * PixelsPerInch * ratio));
    const int py = static_cast<int>(std::floor(y * PixelsPerInch * ratio));
    if (!image_.valid(px, py))
        return {};
    return image_.pixelColor(px, py);
}

void PictureBox::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event); // the sunken border
    QPainter painter(this);
    painter.drawImage(contentsRect().topLeft(), image_);
    if (hasFocus()) { // where the keyboard is (the picture's menu opens with Shift+F10); the map keeps its colours
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
        painter.drawRect(contentsRect().adjusted(1, 1, -2, -2));
    }
}

} // namespace kerf::ui
