// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/map_picture.h"

#include "render/drawing_failure.h"
#include "render/flat_outline.h"
#include "render/inch_canvas.h"
#include "render/map_view.h"
#include "render/wafer_map.h"

namespace kerf::map {

void drawMapPicture(QPainter& painter, const WaferLayout& layout, int side, const Program* program,
                    qreal devicePixelRatio)
{
    const double pixelsPerInch = side / PictureSideInches;
    painter.fillRect(QRect(0, 0, side, side), QColor(255, 255, 255));
    if (!program) {
        InchCanvas canvas(painter, pixelsPerInch);
        DrawLayoutOutline(canvas, CenterX, CenterY, layout.WaferDiameter / 2, layout);
        drawDies(canvas, layout);
        return;
    }
    MapView view;
    view.pixelsPerInch = pixelsPerInch;
    view.size = QSize(side, side);
    // Under a path the map is drawn for the path's view, so that each die edge
    // and its cut take the same pixels.
    drawWaferMap(painter, view, layout, layout.WaferDiameter / 2);
    const CutPathLayers layers = drawCutPathLayers(*program, view, devicePixelRatio, {}, cutPathMatch(layout));
    if (layers.beyondBounds)
        throw DrawingFailed("切割程式超過執行的界限，只能畫出它的開頭，無法畫出完整的切割路徑。沒有產生圖片。");
    painter.drawImage(QRectF(0, 0, side, side), cutPathOverlay(layers, layers.steps.count()));
}

} // namespace kerf::map
