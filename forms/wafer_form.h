// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <initializer_list>

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>

#include "forms/form.h"
#include "forms/frame_rows.h"
#include "forms/picture_box.h"
#include "layout/wafer_layout.h"
#include "render/inch_canvas.h"

namespace kerf::ui {

/// What the designer and the simulator share: the wafer picture PIC1 with
/// its centre, and the wafer size list Combo1 with the diameter it chose.
class WaferForm : public Form {
    Q_OBJECT
public:
    using Form::Form;

    // Private values of the window: they outlive its controls.
    float CenterX = 0;
    float CenterY = 0;
    float WaferDiameter = 0; // 0 until a wafer size is chosen
    float WaferRadius = 0;

    // Controls, present while the window is loaded.
    QPointer<PictureBox> PIC1;
    QPointer<QComboBox> Combo1;

protected:
    /// The picture PIC1 at the window's top left.
    void makePicture(QWidget* surface);

    /// How the wafer rows of a settings frame look: the captions' width and
    /// whether a wafer size can be typed into the list.
    struct WaferRowLook {
        int captionWidth = 1080;
        bool editableList = true;
    };
    /// The first two rows of `frame`: the wafer diameter caption and Combo1;
    /// the effective diameter caption, its box "Text5" (a `Box`, at most 5
    /// characters), returned, and the box's unit "Inches".
    template <typename Box>
    Box* makeWaferRows(QGroupBox* frame, Named<QLabel> diameterCaption, Named<QLabel> effectiveCaption,
                       Named<QLabel> effectiveUnit, WaferRowLook look)
    {
        makeWaferListRow(frame, diameterCaption, effectiveCaption, look);
        Box* box = placeRowBox(new Box(frame), "Text5", 1, EffectiveBoxWidth);
        box->setMaxLength(5);
        makeEffectiveUnit(frame, effectiveUnit);
        return box;
    }

    /// On loading: the centre from PIC1's scale, the wafer size list filled
    /// with no size chosen (filling runs no handler).
    void loadWaferSizes();
    /// Choosing (or typing) a wafer size: sets the diameter and radius, and
    /// puts the effective diameter into `effectiveBox`.
    void chooseWaferSize(QLineEdit* effectiveBox);
    /// The clear button: empties PIC1, the list (no handler runs) and `boxes`.
    void clearWafer(std::initializer_list<QLineEdit*> boxes);

    /// Clears PIC1 and draws the wafer: the centre and outline, then `dies`
    /// when given.
    void drawWafer(const std::function<void(map::InchCanvas&)>& dies, const WaferLayout* layout = nullptr);

private:
    static constexpr int EffectiveBoxWidth = 1365;

    /// The wafer diameter caption, Combo1, and the effective diameter caption.
    void makeWaferListRow(QGroupBox* frame, Named<QLabel> diameterCaption, Named<QLabel> effectiveCaption,
                          WaferRowLook look);
    void makeEffectiveUnit(QGroupBox* frame, Named<QLabel> effectiveUnit);
};

} // namespace kerf::ui
