// SPDX-License-Identifier: GPL-3.0-or-later
// The designer's good dies: the 良率設定 dialog and the frame that shows the
// yield, the good dies and the cost per good die of the design.
#include "windows/designer/frm_wafer.h"

#include "forms/box_text.h"
#include "forms/controls.h"
#include "forms/frame_rows.h"
#include "layout/die_area.h"
#include "windows/designer/frm_yield.h"
#include "yield/good_dies.h"

namespace kerf::ui {
namespace {

constexpr int GoodDiesBoxWidth = 1635;

} // namespace

void frmWafer::buildGoodDiesFrame(QWidget* surface)
{
    mnuYieldSettings = new QAction(QStringLiteral("良率設定(&Y)…"), this);
    mnuYieldSettings->setObjectName(QStringLiteral("mnuYieldSettings"));
    PIC1Menu->insertAction(mnuDieSizeChart, mnuYieldSettings);
    connect(mnuYieldSettings, &QAction::triggered, this, &frmWafer::mnuYieldSettings_Click);

    Frame4 = makeSideFrame(surface, "Frame4", QStringLiteral("良品估算"), 5400, 1545);
    const auto row = [&](int index, const char* names[3], const QString& caption, const QString& unit) {
        makeRowCaption(Frame4, names[0], caption, index);
        QLineEdit* result = makeResultBox(Frame4, names[1], RowBoxLeft, rowTop(index), GoodDiesBoxWidth, RowBoxHeight);
        makeRowUnit(Frame4, names[2], unit, index, GoodDiesBoxWidth);
        return result;
    };
    const char* yieldNames[] = {"Label15", "Text7", "Label16"};
    const char* goodNames[] = {"Label17", "Text8", "Label18"};
    const char* costNames[] = {"Label19", "Text9", "Label20"};
    Text7 = row(0, yieldNames, QStringLiteral("良率："), QStringLiteral("%"));
    Text8 = row(1, goodNames, QStringLiteral("良品數："), QStringLiteral("個"));
    Text9 = row(2, costNames, QStringLiteral("良品成本："), QString());
    Text9->setToolTip(QStringLiteral("每顆良品的成本：晶片成本 ÷ 良品數"));
    // The result frames' own menu: the settings the good dies come from.
    for (QGroupBox* frame : {Frame3.data(), Frame4.data()}) {
        frame->setContextMenuPolicy(Qt::ActionsContextMenu);
        frame->addAction(mnuYieldSettings);
    }
    Frame4->hide();
}

void frmWafer::mnuYieldSettings_Click()
{
    frmYield dialog(this);
    dialog.boxes->setTexts(yieldTexts_);
    if (dialog.exec() == QDialog::Accepted)
        setYieldTexts(dialog.boxes->texts());
}

void frmWafer::setYieldTexts(const YieldTexts& texts)
{
    yieldTexts_ = texts;
    showGoodDies();
    showJobTitle();
}

void frmWafer::showGoodDies()
{
    if (!Frame4)
        return;
    Frame4->setVisible(!yieldTexts_.defects.empty());
    for (QLineEdit* box : {Text7.data(), Text8.data(), Text9.data()}) {
        box->clear();
        box->setToolTip(QString());
    }
    Text9->setToolTip(QStringLiteral("每顆良品的成本：晶片成本 ÷ 良品數"));
    if (yieldTexts_.defects.empty() || !hasDesign())
        return;
    const auto read = readYieldSettings(yieldTexts_);
    if (const auto* refusal = std::get_if<YieldRefusal>(&read)) {
        // A job's settings the dialog would refuse: said where the figures stand.
        Text8->setText(QStringLiteral("設定有誤"));
        Text8->setToolTip(qtText(refusal->prompt));
        Frame4->setToolTip(qtText(refusal->prompt));
        return;
    }
    const YieldSettings& settings = std::get<YieldSettings>(read);
    const GoodDies dies = goodDies(settings, dieTotal(*lastLayout_), dieAreaCm2(*lastLayout_));
    Frame4->setToolTip(qtText(yieldModelText(settings) + "，缺陷密度 " + exactNumberText(settings.defectDensity)
                              + " 個/cm²，晶粒面積 " + exactNumberText(dies.dieAreaCm2) + " cm²"));
    const std::string percent = yieldPercentText(dies.yield);
    Text7->setText(qtText(percent.substr(0, percent.size() - 2))); // the unit stands beside the box
    Text8->setText(QString::number(dies.goodDies));
    if (dies.costPerGoodDie) {
        Text9->setText(qtText(costPerGoodDieText(dies)));
    } else if (!dies.costNote.empty()) {
        Text9->setText(QStringLiteral("無良品晶粒"));
        Text9->setToolTip(qtText(dies.costNote));
    }
}

} // namespace kerf::ui
