// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

#include "layout/wafer_flats.h"

namespace kerf::ui {

/// The wafer's flats (晶片平邊): the primary's and the secondary's length
/// (mm) and angle (degrees from 3 o'clock, counter-clockwise), each angle
/// also as a choice of 6, 9, 12 or 3 o'clock, and the chosen wafer's usual
/// lengths one click away. OK checks the boxes and stays open on a refusal.
class frmFlats : public QDialog {
    Q_OBJECT
public:
    frmFlats(QWidget* owner, const FlatTexts& flats, float waferDiameter);

    /// The boxes as they stand.
    FlatTexts flats() const;

    QPointer<QLineEdit> txtLength, txtAt, txtSecondLength, txtSecondAt;
    QPointer<QComboBox> cboClock, cboSecondClock;
    QPointer<QPushButton> cmdUsual, cmdSecondUsual, cmdOK, cmdCancel;

    void cmdOK_Click();

private:
    float waferDiameter_;
};

} // namespace kerf::ui
