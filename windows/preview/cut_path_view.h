// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <optional>

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QWidget>

#include "render/map_view.h"
#include "layout/wafer_layout.h"

namespace kerf::ui {

/// The mark of the head on the preview's picture.
inline const QColor HeadColour{255, 140, 0};

/// The preview's picture: the wafer map of a layout, the cut path laid over
/// it and the head. The wheel zooms about the pointer, dragging pans; the map
/// is drawn only for what is in view, the path is an image of the view's
/// pixels, so painting costs the pixels whatever the layout or program.
class CutPathView : public QWidget {
    Q_OBJECT
public:
    explicit CutPathView(QWidget* parent = nullptr);

    /// The map to draw; the view is fitted to the wafer unless `keepView`.
    void setLayout(std::shared_ptr<const WaferLayout> layout, bool keepView = false);
    /// The path over the map, drawn for `view`. Until a path for the current
    /// view comes, the last one is shown scaled to it.
    void setOverlay(QImage overlay, const map::MapView& view);
    /// The head, in picture inches; none hides it.
    void setHead(std::optional<QPointF> head);

    const map::MapView& view() const { return view_; }
    void setView(const map::MapView& view);
    /// Fits the view to the wafer.
    void fitAll();

    /// The picture as painted (map, path and head), for tests and exports.
    QImage picture() const;

    QSize sizeHint() const override { return {640, 640}; }

signals:
    /// The view changed; `settled` is false while a drag goes on.
    void viewChanged(bool settled);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void paintPicture(QPainter& painter) const;
    const QImage& mapImage() const;

    std::shared_ptr<const WaferLayout> layout_;
    map::MapView view_;
    bool followsFit_ = true; // refitted on resizing until the user zooms or pans
    QImage overlay_;
    map::MapView overlayView_;
    std::optional<QPointF> head_;
    std::optional<QPointF> dragFrom_;
    // The map drawn for view_, redrawn when the view changes.
    mutable QImage mapImage_;
    mutable std::optional<map::MapView> mapImageView_;
};

} // namespace kerf::ui
