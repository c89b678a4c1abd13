// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/main_menu/main_wafer.h"

#include <QCloseEvent>
#include <QScreen>

#include "forms/controls.h"
#include "forms/form.h"
#include "windows/designer/frm_wafer.h"
#include "forms/twips.h"
#include "forms/window_placement.h"
#include "windows/simulator/frm_hex.h"

namespace kerf::ui {

namespace {

// Pixels between the screen's edges and the menu's frame.
constexpr int MenuMargin = 16;

} // namespace

MainWafer::MainWafer(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("MainWafer"));
    setWindowTitle(QStringLiteral("Main Menu"));
    setFixedSize(twipsSize(2805, 1500));
    setSizeGripEnabled(false);
    // A start-up window of its own: minimisable, with no owner.
    setWindowFlags(Qt::Window);
    offerNoMaximize(this);

    // At the top-left of the screen, leaving the room beside it to the tool windows.
    move(screen()->availableGeometry().topLeft() + QPoint(MenuMargin, MenuMargin));

    // The frame's top edge sits just above the client area.
    Frame1 = makeFrame(this, "Frame1", QString(), 45, -45, 2715, 1500);
    cmdfrmWafer = makeButton(Frame1, "cmdfrmWafer", QStringLiteral("晶片雷射切割程式碼產生器(&W)"), 90, 180, 2500, 375);
    cmdfrmHex = makeButton(Frame1, "cmdfrmHex", QStringLiteral("六角形晶片鑽石切割模擬器(&H)"), 90, 585, 2500, 375);
    cmdExit = makeButton(Frame1, "cmdExit", QStringLiteral("離開本系統(&X)"), 90, 990, 2500, 375);
    chainTabOrder({cmdfrmWafer, cmdfrmHex, cmdExit});
    cmdfrmWafer->setFocus();

    connect(cmdfrmWafer, &QPushButton::clicked, this, &MainWafer::cmdfrmWafer_Click);
    connect(cmdfrmHex, &QPushButton::clicked, this, &MainWafer::cmdfrmHex_Click);
    connect(cmdExit, &QPushButton::clicked, this, &MainWafer::cmdExit_Click);
}

void MainWafer::cmdfrmWafer_Click()
{
    if (!frmWafer_)
        frmWafer_ = new frmWafer(this);
    frmWafer_->showModeless();
}

void MainWafer::openProgramFile(const QString& path)
{
    cmdfrmWafer_Click();
    frmWafer_->openProgramFile(path);
}

void MainWafer::cmdfrmHex_Click()
{
    if (!frmHex_)
        frmHex_ = new frmHex(this);
    frmHex_->showModeless();
}

void MainWafer::cmdExit_Click() { close(); }

void MainWafer::openJob(const QString& path, const QString& program)
{
    cmdfrmWafer_Click();
    frmWafer_->openJob(path, program);
}

void MainWafer::reject()
{
    // Esc is the exit button.
    cmdExit->click();
}

void MainWafer::closeEvent(QCloseEvent* event)
{
    // The designer asks first about a changed job; cancelling keeps everything open.
    for (Form* window : {static_cast<Form*>(frmWafer_), static_cast<Form*>(frmHex_)}) {
        if (window && window->isLoaded() && !window->close()) {
            event->ignore();
            return;
        }
    }
    event->accept();
}

} // namespace kerf::ui
