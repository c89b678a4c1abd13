// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/result_frame.h"

#include "forms/box_text.h"

namespace kerf::ui {
namespace {

constexpr int ResultFrameHeight = 1545;
constexpr int ResultBoxWidth = 1635;

void makeResultRow(QGroupBox* frame, const ResultRow& row, int index, const QString& caption, const QString& unit)
{
    row.caption.control = makeRowCaption(frame, row.caption.name, caption, index);
    row.box.control = makeResultBox(frame, row.box.name, RowBoxLeft, rowTop(index), ResultBoxWidth, RowBoxHeight);
    row.unit.control = makeRowUnit(frame, row.unit.name, unit, index, ResultBoxWidth);
}

} // namespace

void makeResultFrame(QWidget* surface, Named<QGroupBox> frame, int top, const ResultRow& rows,
                     const ResultRow& dies, const ResultRow& utilisation)
{
    frame.control = makeSideFrame(surface, frame.name, QStringLiteral("模擬結果值"), top, ResultFrameHeight);
    makeResultRow(frame.control, rows, 0, QStringLiteral("總切割列數："), QStringLiteral("列"));
    makeResultRow(frame.control, dies, 1, QStringLiteral("總晶粒數："), QStringLiteral("個"));
    makeResultRow(frame.control, utilisation, 2, QStringLiteral("面積使用率："), QStringLiteral("%"));
}

void showResults(const LayoutResults& results, QLineEdit* rows, QLineEdit* dies, QLineEdit* utilisation)
{
    rows->setText(qtText(results.rows));
    dies->setText(qtText(results.dies));
    utilisation->setText(qtText(results.utilisation));
}

} // namespace kerf::ui
