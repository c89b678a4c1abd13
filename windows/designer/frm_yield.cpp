// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/designer/frm_yield.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace kerf::ui {

frmYield::frmYield(QWidget* owner)
    : QDialog(owner)
{
    setObjectName(QStringLiteral("frmYield"));
    setWindowTitle(QStringLiteral("良率設定"));
    auto* layout = new QVBoxLayout(this);
    auto* note = new QLabel(QStringLiteral("依缺陷密度與良率模型估算良品晶粒數；填入晶片成本時另算每顆良品的成本。"
                                           "缺陷密度空白為不估算。"),
                            this);
    note->setWordWrap(true);
    layout->addWidget(note);
    boxes = new YieldBoxes(this, YieldBoxes::Arrangement::Column);
    layout->addWidget(boxes);
    cmdOK = new QPushButton(QStringLiteral("確定"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdCancel = new QPushButton(QStringLiteral("取消"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdOK->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    layout->addLayout(buttons);
    connect(cmdOK, &QPushButton::clicked, this, &frmYield::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void frmYield::cmdOK_Click()
{
    std::optional<YieldSettings> settings;
    if (boxes->read(this, settings))
        accept();
}

} // namespace kerf::ui
