// SPDX-License-Identifier: GPL-3.0-or-later
// The main menu and the life of the windows.
#include <memory>

#include <QMessageBox>
#include <QScreen>
#include <QTest>

#include "windows/main_menu/main_wafer.h"
#include "windows/generation/frm_code.h"
#include "forms/application.h"
#include "windows/die_size_chart/frm_die_size_chart.h"
#include "windows/designer/frm_wafer.h"
#include "windows/preview/frm_preview.h"
#include "forms/twips.h"
#include "tests/support/gui_test_support.h"
#include "windows/simulator/frm_hex.h"

using namespace kerf;
using namespace kerf::ui;
using namespace kerf::testing;

class MainWaferTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void opensAloneWithItsButtons();
    void toolButtonsOpenOneWindowEach();
    void aSecondClickBringsTheOpenWindowForward();
    void bothToolsAreOpenTogether();
    void reopenedToolStartsEmptyButKeepsItsPrivateValues();
    void escEndsTheMenuAndClosesItsWindows();
    void exitButtonClosesTheMenu();
    void okButtonReadsAsOnATraditionalChineseDesktop();
    void toolWindowsOpenBesideTheMenuInsideTheScreen();
    void movedWindowReopensWhereItWasLeft();

private:
    std::unique_ptr<MainWafer> menu;
    std::unique_ptr<MessageRecorder> messages;
};

void MainWaferTest::init()
{
    messages = std::make_unique<MessageRecorder>();
    menu = std::make_unique<MainWafer>();
    menu->show();
    QVERIFY(QTest::qWaitForWindowExposed(menu.get()));
}

void MainWaferTest::cleanup()
{
    menu.reset();
    messages.reset();
}

void MainWaferTest::opensAloneWithItsButtons()
{
    QCOMPARE(menu->windowTitle(), QStringLiteral("Main Menu"));
    QCOMPARE(menu->size(), twipsSize(2805, 1500));
    QCOMPARE(menu->Frame1->geometry(), twipsRect(45, -45, 2715, 1500));
    QCOMPARE(menu->cmdfrmWafer->geometry(), twipsRect(90, 180, 2500, 375));
    QCOMPARE(menu->cmdfrmHex->geometry(), twipsRect(90, 585, 2500, 375));
    QCOMPARE(menu->cmdExit->geometry(), twipsRect(90, 990, 2500, 375));
    QCOMPARE(menu->cmdfrmWafer->text(), QStringLiteral("晶片雷射切割程式碼產生器(&W)"));
    QCOMPARE(menu->cmdfrmHex->text(), QStringLiteral("六角形晶片鑽石切割模擬器(&H)"));
    QCOMPARE(menu->cmdExit->text(), QStringLiteral("離開本系統(&X)"));
    QVERIFY(menu->waferWindow() == nullptr);
    QVERIFY(menu->hexWindow() == nullptr);
    menu->cmdfrmWafer->setFocus();
    QTest::keyClick(menu->cmdfrmWafer, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), menu->cmdfrmHex);
    QTest::keyClick(menu->cmdfrmHex, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), menu->cmdExit);
}

void MainWaferTest::toolButtonsOpenOneWindowEach()
{
    QTest::mouseClick(menu->cmdfrmWafer, Qt::LeftButton);
    frmWafer* wafer = menu->waferWindow();
    QVERIFY(wafer && wafer->isVisible());
    QCOMPARE(wafer->parentWidget(), menu.get());
    QCOMPARE(wafer->windowModality(), Qt::NonModal);
    QTest::mouseClick(menu->cmdfrmHex, Qt::LeftButton);
    frmHex* hex = menu->hexWindow();
    QVERIFY(hex && hex->isVisible());
    QCOMPARE(hex->parentWidget(), menu.get());
    QCOMPARE(menu->findChildren<frmWafer*>().size(), qsizetype(1));
    QCOMPARE(menu->findChildren<frmHex*>().size(), qsizetype(1));
}

void MainWaferTest::aSecondClickBringsTheOpenWindowForward()
{
    QTest::mouseClick(menu->cmdfrmWafer, Qt::LeftButton);
    frmWafer* wafer = menu->waferWindow();
    wafer->Text1->setText(QStringLiteral("125"));
    QTest::mouseClick(menu->cmdfrmWafer, Qt::LeftButton);
    QCOMPARE(menu->waferWindow(), wafer);
    QCOMPARE(menu->findChildren<frmWafer*>().size(), qsizetype(1));
    QCOMPARE(wafer->Text1->text(), QStringLiteral("125")); // the same window, not a new one
    QVERIFY(wafer->isVisible());
}

void MainWaferTest::bothToolsAreOpenTogether()
{
    QTest::mouseClick(menu->cmdfrmWafer, Qt::LeftButton);
    QTest::mouseClick(menu->cmdfrmHex, Qt::LeftButton);
    QVERIFY(menu->waferWindow()->isVisible());
    QVERIFY(menu->hexWindow()->isVisible());
    QTest::mouseClick(menu->hexWindow()->cmdExit, Qt::LeftButton);
    QVERIFY(!menu->hexWindow()->isVisible());
    QVERIFY(menu->waferWindow()->isVisible());
    QVERIFY(menu->isVisible());
}

void MainWaferTest::reopenedToolStartsEmptyButKeepsItsPrivateValues()
{
    QTest::mouseClick(menu->cmdfrmHex, Qt::LeftButton);
    frmHex* hex = menu->hexWindow();
    choose(hex->Combo1, QStringLiteral("2.0 Inches"));
    type(hex->Text1, QStringLiteral("100"));
    hex->close(); // the title bar's close
    QVERIFY(!hex->isLoaded());
    QTest::mouseClick(menu->cmdfrmHex, Qt::LeftButton);
    QCOMPARE(menu->hexWindow(), hex);
    QVERIFY(hex->Text1->text().isEmpty());
    QVERIFY(hex->Text5->text().isEmpty());
    QCOMPARE(hex->Combo1->currentIndex(), -1);
    QCOMPARE(hex->Combo1->count(), 5);
    QCOMPARE(hex->WaferDiameter, 2.0f);
    QVERIFY(!hex->Text2->isEnabled()); // the load handler ran again
}

void MainWaferTest::escEndsTheMenuAndClosesItsWindows()
{
    QTest::mouseClick(menu->cmdfrmWafer, Qt::LeftButton);
    QTest::mouseClick(menu->cmdfrmHex, Qt::LeftButton);
    menu->activateWindow();
    QTest::keyClick(menu.get(), Qt::Key_Escape);
    QVERIFY(!menu->isVisible());
    QVERIFY(!menu->waferWindow()->isVisible());
    QVERIFY(!menu->waferWindow()->isLoaded());
    QVERIFY(!menu->hexWindow()->isVisible());
}

void MainWaferTest::exitButtonClosesTheMenu()
{
    QTest::mouseClick(menu->cmdExit, Qt::LeftButton);
    QVERIFY(!menu->isVisible());
}

void MainWaferTest::okButtonReadsAsOnATraditionalChineseDesktop()
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("無資料"), QStringLiteral("無晶片資料可以產生程式碼。"),
                    QMessageBox::Ok);
    QCOMPARE(box.button(QMessageBox::Ok)->text(), QStringLiteral("確定"));
}

namespace {

// The window stands clear of the menu, wholly on the menu's screen.
void verifyBesideTheMenu(QWidget* window, QWidget* menu)
{
    QVERIFY(QTest::qWaitForWindowExposed(window));
    const QRect frame = window->frameGeometry();
    QVERIFY2(!frame.intersects(menu->frameGeometry()), qPrintable(window->objectName()));
    QVERIFY2(menu->screen()->availableGeometry().contains(frame), qPrintable(window->objectName()));
}

} // namespace

void MainWaferTest::toolWindowsOpenBesideTheMenuInsideTheScreen()
{
    QTest::mouseClick(menu->cmdfrmWafer, Qt::LeftButton);
    verifyBesideTheMenu(menu->waferWindow(), menu.get());
    QTest::mouseClick(menu->cmdfrmHex, Qt::LeftButton);
    verifyBesideTheMenu(menu->hexWindow(), menu.get());
    // Cascaded: the second window does not hide the first one's corner.
    QVERIFY(menu->hexWindow()->pos() != menu->waferWindow()->pos());
    // The generation window too, although its owner is the designer.
    frmWafer* designer = menu->waferWindow();
    choose(designer->Combo1, QStringLiteral("2.0 Inches"));
    choose(designer->Combo2, QStringLiteral("Circle"));
    type(designer->Text1, QStringLiteral("100"));
    QTest::mouseClick(designer->cmdDraw, Qt::LeftButton);
    QTest::mouseClick(designer->cmdGenerate, Qt::LeftButton);
    QVERIFY(designer->codeWindow() && designer->codeWindow()->isVisible());
    verifyBesideTheMenu(designer->codeWindow(), menu.get());
    // The preview it opens as well.
    type(designer->codeWindow()->Text1, QStringLiteral("PLACED"));
    QTest::mouseClick(designer->codeWindow()->cmdPreview, Qt::LeftButton);
    QVERIFY(designer->previewWindow() && designer->previewWindow()->isVisible());
    verifyBesideTheMenu(designer->previewWindow(), menu.get());
    designer->codeWindow()->unload();
    // And the die-size chart of the picture's menu.
    designer->mnuDieSizeChart_Click();
    QVERIFY(designer->dieSizeChartWindow());
    verifyBesideTheMenu(designer->dieSizeChartWindow(), menu.get());
}

void MainWaferTest::movedWindowReopensWhereItWasLeft()
{
    QTest::mouseClick(menu->cmdfrmHex, Qt::LeftButton);
    frmHex* hex = menu->hexWindow();
    QVERIFY(QTest::qWaitForWindowExposed(hex));
    const QRect screen = menu->screen()->availableGeometry();
    const QPoint moved = screen.topLeft() + QPoint(screen.width() / 2, screen.height() / 3);
    hex->move(moved);
    QTRY_COMPARE(hex->pos(), moved);
    QTest::mouseClick(hex->cmdExit, Qt::LeftButton);
    QVERIFY(!hex->isVisible());
    QTest::mouseClick(menu->cmdfrmHex, Qt::LeftButton);
    QVERIFY(QTest::qWaitForWindowExposed(hex));
    QTRY_COMPARE(hex->pos(), moved);
}

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    prepareApplication(application);
    QApplication::setQuitOnLastWindowClosed(false); // windows come and go between tests
    MainWaferTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "main_wafer_test.moc"
