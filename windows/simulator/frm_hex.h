// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

#include "forms/number_box.h"
#include "forms/wafer_form.h"
#include "layout/simulation/simulation.h"

namespace kerf::ui {

/// The hexagonal cutting simulator: a wafer size, an effective diameter and
/// a die size in, the column layout's map and results out. It keeps its own
/// layout; the designer's is never touched.
class frmHex : public WaferForm {
    Q_OBJECT
public:
    explicit frmHex(QWidget* owner);

    /// The layout of the last simulation run, until the clear button.
    const std::optional<SimulationLayout>& lastLayout() const { return lastLayout_; }

    // Controls, present while the window is loaded (PIC1 and Combo1 are the WaferForm's).
    QPointer<QGroupBox> Frame1, Frame2, Frame3;
    QPointer<QLabel> Label1, Label2, Label3, Label4, Label5, Label6, Label7, Label8, Label9, Label10, Label11;
    QPointer<NumberBox> Text1;
    QPointer<QLineEdit> Text2, Text3, Text4, Text5;
    QPointer<QPushButton> cmdSimulate, cmdClear, cmdExit;

    void Combo1_Click();
    void Combo1_Change();
    void cmdSimulate_Click();
    void cmdClear_Click();
    void cmdExit_Click();

protected:
    void buildControls(QWidget* surface) override;
    void Form_Load() override;

private:
    std::optional<SimulationLayout> lastLayout_;
};

} // namespace kerf::ui
