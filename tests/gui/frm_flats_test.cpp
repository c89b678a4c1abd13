// SPDX-License-Identifier: GPL-3.0-or-later
// The designer's flats dialog driven as a user drives it.
#include <memory>

#include <QTest>

#include "tests/support/gui_test_support.h"
#include "windows/designer/frm_flats.h"
#include "windows/designer/frm_wafer.h"

using namespace kerf;
using namespace kerf::ui;
using namespace kerf::testing;

class FrmFlatsTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void usualLengthsAndClockFillTheBoxesAndTheResultsFollow();
    void refusedFlatsKeepTheDialogOpenAndChangeNothing();

private:
    frmFlats* openDialog();

    std::unique_ptr<frmWafer> window;
    std::unique_ptr<MessageRecorder> messages;
};

void FrmFlatsTest::init()
{
    messages = std::make_unique<MessageRecorder>();
    window = std::make_unique<frmWafer>(nullptr);
    window->showModeless();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    choose(window->Combo1, QStringLiteral("4.0 Inches"));
    choose(window->Combo2, QStringLiteral("Hexagon"));
    type(window->Text1, QStringLiteral("100"));
    QTest::mouseClick(window->cmdDraw, Qt::LeftButton);
}

void FrmFlatsTest::cleanup()
{
    window.reset();
    messages.reset();
}

frmFlats* FrmFlatsTest::openDialog()
{
    window->mnuFlats->trigger();
    auto* dialog = window->findChild<frmFlats*>();
    if (dialog)
        QTest::qWaitForWindowExposed(dialog);
    return dialog;
}

void FrmFlatsTest::usualLengthsAndClockFillTheBoxesAndTheResultsFollow()
{
    const QString roundDies = window->Text4->text();
    frmFlats* dialog = openDialog();
    QVERIFY(dialog);
    QCOMPARE(dialog->windowTitle(), QStringLiteral("晶片平邊"));
    QCOMPARE(dialog->cmdUsual->text(), QStringLiteral("常用 32.5 mm"));
    QTest::mouseClick(dialog->cmdUsual, Qt::LeftButton);
    QTest::mouseClick(dialog->cmdSecondUsual, Qt::LeftButton);
    choose(dialog->cboSecondClock, QStringLiteral("9 點鐘"));
    QCOMPARE(dialog->txtSecondAt->text(), QStringLiteral("180"));
    type(dialog->txtAt, QStringLiteral("90"));
    QCOMPARE(dialog->cboClock->currentText(), QStringLiteral("12 點鐘"));
    QTest::mouseClick(dialog->cmdOK, Qt::LeftButton);
    QVERIFY(window->flats() == (FlatTexts{"32.5", "90", "18", "180"}));
    QVERIFY(messages->shown.empty());
    QVERIFY(window->Text4->text().toInt() < roundDies.toInt());
    QVERIFY(window->currentJob().flats.length == std::optional<std::string>("32.5"));
}

void FrmFlatsTest::refusedFlatsKeepTheDialogOpenAndChangeNothing()
{
    const QString roundDies = window->Text4->text();
    frmFlats* dialog = openDialog();
    QVERIFY(dialog);
    type(dialog->txtLength, QStringLiteral("120"));
    QTest::mouseClick(dialog->cmdOK, Qt::LeftButton);
    QCOMPARE(messages->shown.size(), std::size_t(1));
    QVERIFY(messages->shown[0].prompt.find("主平邊長度") != std::string::npos);
    QVERIFY(dialog->isVisible());
    QTest::mouseClick(dialog->cmdCancel, Qt::LeftButton);
    QVERIFY(window->flats() == FlatTexts{});
    QCOMPARE(window->Text4->text(), roundDies);
}

QTEST_MAIN(FrmFlatsTest)
#include "frm_flats_test.moc"
