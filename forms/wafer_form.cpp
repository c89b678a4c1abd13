// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/wafer_form.h"

#include "forms/box_text.h"
#include "layout/design_driver.h"
#include "render/flat_outline.h"
#include "render/wafer_map.h"

namespace kerf::ui {

void WaferForm::makePicture(QWidget* surface)
{
    PIC1 = new PictureBox(surface);
    PIC1->setObjectName(QStringLiteral("PIC1"));
    PIC1->move(0, 0);
}

void WaferForm::makeWaferListRow(QGroupBox* frame, Named<QLabel> diameterCaption, Named<QLabel> effectiveCaption,
                                 WaferRowLook look)
{
    constexpr int ListWidth = 1905, ListHeight = 300;
    diameterCaption.control =
        makeRowCaption(frame, diameterCaption.name, QStringLiteral("晶片直徑："), 0, look.captionWidth);
    Combo1 = makeComboBox(frame, "Combo1", look.editableList, RowBoxLeft, rowTop(0), ListWidth, ListHeight);
    effectiveCaption.control =
        makeRowCaption(frame, effectiveCaption.name, QStringLiteral("有效直徑："), 1, look.captionWidth);
}

void WaferForm::makeEffectiveUnit(QGroupBox* frame, Named<QLabel> effectiveUnit)
{
    constexpr int UnitWidth = 450;
    effectiveUnit.control =
        makeRowUnit(frame, effectiveUnit.name, QStringLiteral("Inches"), 1, EffectiveBoxWidth, UnitWidth);
}

void WaferForm::loadWaferSizes()
{
    CenterX = PIC1->scaleWidth() / 2;
    CenterY = PIC1->scaleHeight() / 2;
    const QSignalBlocker block(Combo1);
    for (std::string_view item : WaferSizeItems)
        Combo1->addItem(qtText(item));
    Combo1->setCurrentIndex(-1);
}

void WaferForm::chooseWaferSize(QLineEdit* effectiveBox)
{
    const WaferSizeChoice choice = kerf::chooseWaferSize(boxText(Combo1), WaferDiameter);
    WaferDiameter = choice.WaferDiameter;
    WaferRadius = choice.WaferRadius;
    effectiveBox->setText(qtText(choice.effectiveText));
}

void WaferForm::clearWafer(std::initializer_list<QLineEdit*> boxes)
{
    PIC1->Cls();
    {
        const QSignalBlocker block(Combo1);
        Combo1->setCurrentIndex(-1);
    }
    for (QLineEdit* box : boxes)
        box->clear();
}

void WaferForm::drawWafer(const std::function<void(map::InchCanvas&)>& dies, const WaferLayout* layout)
{
    PIC1->Cls();
    PIC1->draw([&](map::InchCanvas& canvas) {
        if (layout)
            map::DrawLayoutOutline(canvas, CenterX, CenterY, WaferRadius, *layout);
        else
            map::DrawWaferOutline(canvas, CenterX, CenterY, WaferRadius);
        if (dies)
            dies(canvas);
    });
}

} // namespace kerf::ui
