// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QPointer>
#include <QPushButton>

#include "forms/yield_boxes.h"

namespace kerf::ui {

/// 良率設定: the designer's yield boxes in a dialog. OK keeps them when they
/// read (an empty density turns the good dies off), else says why and stays.
class frmYield : public QDialog {
    Q_OBJECT
public:
    explicit frmYield(QWidget* owner);

    void cmdOK_Click();

    QPointer<YieldBoxes> boxes;
    QPointer<QPushButton> cmdOK, cmdCancel;
};

} // namespace kerf::ui
