// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/simulator/frm_hex.h"

#include <variant>

#include "forms/box_text.h"
#include "forms/buttons_held.h"
#include "forms/controls.h"
#include "forms/refusal_message.h"
#include "forms/result_frame.h"
#include "forms/twips.h"
#include "render/sim_map.h"

namespace kerf::ui {

frmHex::frmHex(QWidget* owner)
    : WaferForm(owner, twipsSize(11130, 7650), QStringLiteral("Hexagan Chip Cutting Simulator"))
{
    setObjectName(QStringLiteral("frmHex"));
}

void frmHex::buildControls(QWidget* surface)
{
    makePicture(surface);
    PIC1->setFocusPolicy(Qt::TabFocus); // first in the tab order

    constexpr int CaptionWidth = 900, DieSizeWidth = 1635;
    Frame1 = makeSideFrame(surface, "Frame1", QStringLiteral("晶片設定值"), 0, 1545);
    Text5 = makeWaferRows<QLineEdit>(Frame1, {"Label1", Label1}, {"Label10", Label10}, {"Label11", Label11},
                                     {CaptionWidth, false});
    Label2 = makeRowCaption(Frame1, "Label2", QStringLiteral("晶粒尺寸："), 2, CaptionWidth);
    Text1 = placeRowBox(new NumberBox(Frame1), "Text1", 2, DieSizeWidth);
    Text1->setMaxLength(10);
    Text1->setRefusalBox(InputBox::DieSize);
    Label3 = makeRowUnit(Frame1, "Label3", QStringLiteral("mil"), 2, DieSizeWidth);

    makeResultFrame(surface, {"Frame2", Frame2}, 1575, {{"Label4", Label4}, {"Text2", Text2}, {"Label7", Label7}},
                    {{"Label5", Label5}, {"Text3", Text3}, {"Label8", Label8}},
                    {{"Label6", Label6}, {"Text4", Text4}, {"Label9", Label9}});

    Frame3 = makeSideFrame(surface, "Frame3", QString(), 3105, 1005);
    cmdSimulate = makeButton(Frame3, "cmdSimulate", QStringLiteral("開始模擬(&S)"), 225, 180, 1500, 330);
    cmdClear = makeButton(Frame3, "cmdClear", QStringLiteral("清除(&C)"), 1845, 180, 1500, 330);
    cmdExit = makeButton(Frame3, "cmdExit", QStringLiteral("離開(&E)"), 225, 540, 1500, 330);
    cmdSimulate->setDefault(true);
    setCancelButton(cmdExit);

    chainTabOrder({PIC1, Combo1, Text1, Text5, cmdSimulate, cmdClear, cmdExit});
    PIC1->setFocus();

    connect(Combo1, &QComboBox::activated, this, &frmHex::Combo1_Click);
    connect(Combo1, &QComboBox::currentTextChanged, this, &frmHex::Combo1_Change);
    connect(cmdSimulate, &QPushButton::clicked, this, &frmHex::cmdSimulate_Click);
    connect(cmdClear, &QPushButton::clicked, this, &frmHex::cmdClear_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmHex::cmdExit_Click);
}

void frmHex::Form_Load()
{
    loadWaferSizes();
    Text2->setEnabled(false);
}

void frmHex::Combo1_Click() { chooseWaferSize(Text5); }

void frmHex::Combo1_Change() { Combo1_Click(); }

void frmHex::cmdSimulate_Click()
{
    const SimulationInput input{boxText(Text1), boxText(Text5), WaferDiameter};
    if (input.dieSize.empty())
        return;
    const ButtonsHeld held{cmdSimulate, cmdClear, cmdExit};
    const SimulationOutcome outcome = runSimulation(input);
    if (const auto* refusal = std::get_if<Refusal>(&outcome)) {
        showRefusal(this, *refusal, {.dieSize = Text1, .effectiveDiameter = Text5});
    } else if (const auto* simulation = std::get_if<Simulation>(&outcome)) {
        drawWafer([&](map::InchCanvas& canvas) { map::DrawSimHexagonDies(canvas, simulation->layout); });
        showResults(simulation->results, Text2, Text3, Text4);
        lastLayout_ = simulation->layout;
    }
}

void frmHex::cmdClear_Click()
{
    clearWafer({Text1, Text2, Text3, Text4});
    if (lastLayout_)
        lastLayout_->RowTable.redim(1);
}

void frmHex::cmdExit_Click() { unload(); }

} // namespace kerf::ui
