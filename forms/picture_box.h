// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include <QFrame>
#include <QImage>

#include "render/inch_canvas.h"

namespace kerf::ui {

/// The drawing area PIC1: a sunken box whose scale unit is the inch (origin
/// top left, Y down). What is drawn stays in a retained image until the box
/// is cleared; painting the widget only copies that image.
class PictureBox : public QFrame {
    Q_OBJECT
public:
    /// Pixels an inch of the scale (logical pixels).
    static constexpr double PixelsPerInch = 96.0;
    /// The box's outer side: 7620 twips.
    static constexpr int OuterSidePixels = 508;

    explicit PictureBox(QWidget* parent = nullptr);

    /// The drawing area in inches: 5.25 by 5.25.
    float scaleWidth() const;
    float scaleHeight() const;

    /// Clears the picture to the background.
    void Cls();
    /// A point, a circle, a line from point to point and a line from the
    /// current point by an offset, each kept in the picture.
    void PSet(float x, float y, const QColor& colour);
    void Circle(float x, float y, float radius, const QColor& colour);
    void Line(float x1, float y1, float x2, float y2, const QColor& colour);
    void LineRel(float dx, float dy, const QColor& colour);

    /// Runs `draw` on a canvas over the retained image, starting from the
    /// current point and keeping where it ends: for the drawing procedures.
    void draw(const std::function<void(map::InchCanvas&)>& draw);

    /// The retained image (device pixels; its device-pixel ratio is set).
    const QImage& image() const { return image_; }
    /// The colour of the retained image at a point given in inches.
    QColor colourAt(float x, float y) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage image_;
    float currentX_ = 0;
    float currentY_ = 0;
};

} // namespace kerf::ui
