// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/comparison_overlay.h"

#include <algorithm>
#include <cmath>

#include <QPainter>

#include "render/cut_path_picture.h"
#include "render/drawing_failure.h"

namespace kerf::map {

QImage comparisonOverlay(const ProgramComparison& comparison, const WaferLayout& layout, const MapView& view,
                         qreal devicePixelRatio, std::optional<ProgramPoint> picked)
{
    const qreal ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    const QSize devicePixels(static_cast<int>(std::lround(view.size.width() * ratio)),
                             static_cast<int>(std::lround(view.size.height() * ratio)));
    QImage image = allocatedImage(devicePixels.expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
    image.fill(0);
    image.setDevicePixelRatio(ratio);
    QPainter painter;
    beginPainting(painter, image);
    painter.setPen(Qt::NoPen);
    const QRectF shown = view.inchRect();
    const double halfRow = layout.RowPitch.toDecimal().toDouble() / 2;
    const double onePixel = 1.0 / view.pixelsPerInch;
    for (const DifferingStretch& s : comparison.stretches) {
        const QPointF left = pictureInches({s.x - s.pitch / 2, s.y + halfRow});
        const QPointF right = pictureInches({s.x + s.pitch * (s.to - s.from - 0.5), s.y - halfRow});
        QRectF band(left, right);
        if (!band.intersects(shown))
            continue;
        band.setWidth(std::max(band.width(), onePixel));
        band.setHeight(std::max(band.height(), onePixel));
        QColor colour = s.b < s.a ? CutLessColour : CutMoreColour;
        colour.setAlpha(150);
        painter.setBrush(colour);
        painter.drawRect(QRectF(view.toPixels(band.topLeft()), view.toPixels(band.bottomRight())));
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(StrayOnlyBColour, 2));
    for (const auto* only : {&comparison.strayOnlyB, &comparison.outsideOnlyB})
        for (const FlaggedCut& cut : only->listed)
            painter.drawLine(view.toPixels(pictureInches(cut.from)), view.toPixels(pictureInches(cut.to)));
    if (picked) {
        const double pitch = layout.DiePitch.toDecimal().toDouble();
        const double radius = std::max(pitch * view.pixelsPerInch * 0.75, 8.0);
        painter.setPen(QPen(PickedDieColour, 2));
        painter.drawEllipse(view.toPixels(pictureInches(*picked)), radius, radius);
    }
    return image;
}

} // namespace kerf::map
