// SPDX-License-Identifier: GPL-3.0-or-later
// The hexagonal cutting simulator driven as a user drives it.
#include <memory>

#include <QTest>

#include "forms/application.h"
#include "forms/twips.h"
#include "tests/support/gui_test_support.h"
#include "windows/simulator/frm_hex.h"

using namespace kerf;
using namespace kerf::ui;
using namespace kerf::testing;

namespace {

const QColor Red(255, 0, 0);
const QColor White(255, 255, 255);

} // namespace

class FrmHexTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void opensWithItsCaptionAndControlsInPlace();
    void tabOrderStartsAtThePicture();
    void dieSizeBoxFiltersKeysButEffectiveDiameterTakesAny();
    void choosingAWaferSizeSetsTheEffectiveDiameter();
    void simulationShowsItsResultsAndDrawsTheColumns();
    void onlyTheCentreDieFits();
    void refusalsShowTheirMessageAndFocusTheBox_data();
    void refusalsShowTheirMessageAndFocusTheBox();
    void emptyDieSizeDoesNothing();
    void enterSimulatesAndEscCloses();
    void clearKeepsTheEffectiveDiameterAndTheChosenSize();
    void disabledRowCountReadsAsClearlyAsTheOtherResults();

private:
    std::unique_ptr<frmHex> window;
    std::unique_ptr<MessageRecorder> messages;
};

void FrmHexTest::init()
{
    messages = std::make_unique<MessageRecorder>();
    window = std::make_unique<frmHex>(nullptr);
    window->showModeless();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
}

void FrmHexTest::cleanup()
{
    window.reset();
    messages.reset();
}

void FrmHexTest::opensWithItsCaptionAndControlsInPlace()
{
    QCOMPARE(window->windowTitle(), QStringLiteral("Hexagan Chip Cutting Simulator"));
    QCOMPARE(window->size(), twipsSize(11130, 7650));
    QCOMPARE(window->PIC1->geometry(), QRect(0, 0, 508, 508));
    QCOMPARE(window->Frame1->geometry(), twipsRect(7650, 0, 3480, 1545));
    QCOMPARE(window->Frame2->geometry(), twipsRect(7650, 1575, 3480, 1545));
    QCOMPARE(window->Frame3->geometry(), twipsRect(7650, 3105, 3480, 1005));
    QCOMPARE(window->Combo1->geometry(), twipsRect(1305, 270, 1905, 300));
    QCOMPARE(window->Text5->geometry(), twipsRect(1305, 675, 1365, 285));
    QCOMPARE(window->Text1->geometry(), twipsRect(1305, 1080, 1635, 285));
    QCOMPARE(window->cmdSimulate->geometry(), twipsRect(225, 180, 1500, 330));
    QCOMPARE(window->cmdClear->geometry(), twipsRect(1845, 180, 1500, 330));
    QCOMPARE(window->cmdExit->geometry(), twipsRect(225, 540, 1500, 330));
    QCOMPARE(window->Text1->maxLength(), 10);
    QCOMPARE(window->Text5->maxLength(), 5);
    QCOMPARE(window->cmdSimulate->text(), QStringLiteral("開始模擬(&S)"));
    QVERIFY(window->cmdSimulate->isDefault());
    QCOMPARE(window->Combo1->count(), 5);
    QCOMPARE(window->Combo1->currentIndex(), -1);
    QVERIFY(!window->Combo1->isEditable());
    QVERIFY(!window->Text2->isEnabled());
    QCOMPARE(window->Label4->text(), QStringLiteral("總切割列數："));
    QCOMPARE(window->CenterX, CenterX);
}

void FrmHexTest::tabOrderStartsAtThePicture()
{
    window->PIC1->setFocus();
    QWidget* expected[] = {window->Combo1, window->Text1, window->Text5, window->cmdSimulate, window->cmdClear,
                           window->cmdExit, window->PIC1};
    for (QWidget* next : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), next);
    }
}

void FrmHexTest::dieSizeBoxFiltersKeysButEffectiveDiameterTakesAny()
{
    type(window->Text1, QStringLiteral("3x0-0"));
    QCOMPARE(window->Text1->text(), QStringLiteral("300"));
    type(window->Text5, QStringLiteral("4.7x"));
    QCOMPARE(window->Text5->text(), QStringLiteral("4.7x"));
}

void FrmHexTest::choosingAWaferSizeSetsTheEffectiveDiameter()
{
    choose(window->Combo1, QStringLiteral("2.5 Inches"));
    QCOMPARE(window->WaferDiameter, 2.5f);
    QCOMPARE(window->WaferRadius, 1.25f);
    QCOMPARE(window->Text5->text(), QStringLiteral("2.375"));
}

void FrmHexTest::simulationShowsItsResultsAndDrawsTheColumns()
{
    choose(window->Combo1, QStringLiteral("5.0 Inches"));
    type(window->Text1, QStringLiteral("300"));
    QTest::mouseClick(window->cmdSimulate, Qt::LeftButton);
    QVERIFY(messages->shown.empty());
    const Simulation expected = std::get<Simulation>(runSimulation({"300", "4.75", 5.0f}));
    QCOMPARE(window->Text2->text().toStdString(), expected.results.rows);
    QCOMPARE(window->Text3->text().toStdString(), expected.results.dies);
    QCOMPARE(window->Text4->text().toStdString(), expected.results.utilisation);
    QCOMPARE(window->lastLayout()->RowTable, expected.layout.RowTable);
    // The centre die: its left side is red, its middle white but for the
    // black centre point.
    QCOMPARE(window->PIC1->colourAt(CenterX, CenterY), QColor(0, 0, 0));
    QCOMPARE(window->PIC1->colourAt(CenterX + 0.05f, CenterY), White);
    QCOMPARE(window->PIC1->colourAt(CenterX - 0.15f, CenterY), Red);
}

void FrmHexTest::onlyTheCentreDieFits()
{
    choose(window->Combo1, QStringLiteral("2.0 Inches"));
    window->Text5->setText(QStringLiteral("1"));
    type(window->Text1, QStringLiteral("500")); // r 0.25, h 0.144338: 2h ≤ R = 0.5 < 6h
    QTest::mouseClick(window->cmdSimulate, Qt::LeftButton);
    QCOMPARE(window->Text2->text(), QStringLiteral("1"));
    QCOMPARE(window->Text3->text(), QStringLiteral("1"));
}

void FrmHexTest::refusalsShowTheirMessageAndFocusTheBox_data()
{
    QTest::addColumn<QString>("size");
    QTest::addColumn<QString>("effective");
    QTest::addColumn<QString>("die");
    QTest::addColumn<QString>("prompt");
    QTest::addColumn<QString>("focus");
    const QString dieMessage = QStringLiteral("晶粒尺寸不合常理，請確認正確數值。");
    const QString effectiveMessage = QStringLiteral("晶片有效直徑大於實際直徑，請確認正確數值。");
    QTest::newRow("no size chosen") << "" << "" << "50" << dieMessage << "Text1";
    QTest::newRow("zero die") << "2.0 Inches" << "1.9" << "0" << dieMessage << "Text1";
    QTest::newRow("die equal to effective") << "2.0 Inches" << "1.9" << "1900" << dieMessage << "Text1";
    QTest::newRow("effective larger") << "2.0 Inches" << "2.1" << "50" << effectiveMessage << "Text5";
}

void FrmHexTest::refusalsShowTheirMessageAndFocusTheBox()
{
    QFETCH(QString, size);
    QFETCH(QString, effective);
    QFETCH(QString, die);
    QFETCH(QString, prompt);
    QFETCH(QString, focus);
    if (!size.isEmpty())
        choose(window->Combo1, size);
    window->Text5->setText(effective);
    type(window->Text1, die);
    bool disabled = false;
    messages->whileShown = [&] { disabled = !window->cmdSimulate->isEnabled() && !window->cmdExit->isEnabled(); };
    QTest::mouseClick(window->cmdSimulate, Qt::LeftButton);
    QCOMPARE(messages->shown.size(), std::size_t(1));
    QCOMPARE(QString::fromStdString(messages->shown.front().prompt), prompt);
    QCOMPARE(messages->shown.front().title, std::string("輸入數值錯誤"));
    QCOMPARE(messages->shown.front().icon, MessageIcon::Exclamation);
    QCOMPARE(QString::fromStdString(MessageText), prompt);
    QCOMPARE(QApplication::focusWidget()->objectName(), focus);
    QVERIFY(disabled);
    QVERIFY(window->cmdSimulate->isEnabled());
    QVERIFY(!window->lastLayout().has_value());
}

void FrmHexTest::emptyDieSizeDoesNothing()
{
    choose(window->Combo1, QStringLiteral("2.0 Inches"));
    QTest::mouseClick(window->cmdSimulate, Qt::LeftButton);
    QVERIFY(messages->shown.empty());
    QCOMPARE(window->PIC1->colourAt(CenterX, CenterY), White);
}

void FrmHexTest::enterSimulatesAndEscCloses()
{
    choose(window->Combo1, QStringLiteral("3.0 Inches"));
    type(window->Text1, QStringLiteral("200"));
    QTest::keyClick(window->Text1, Qt::Key_Return);
    QVERIFY(!window->Text3->text().isEmpty());
    QTest::keyClick(window->Text1, Qt::Key_Escape);
    QVERIFY(!window->isVisible());
    QVERIFY(!window->isLoaded());
    // Reopened: empty controls, but the chosen size still counts.
    window->showModeless();
    QVERIFY(window->Text3->text().isEmpty());
    QVERIFY(window->Text5->text().isEmpty());
    QCOMPARE(window->Combo1->currentIndex(), -1);
    type(window->Text1, QStringLiteral("200"));
    window->Text5->setText(QStringLiteral("2.85"));
    QTest::mouseClick(window->cmdSimulate, Qt::LeftButton);
    QVERIFY(messages->shown.empty());
    QVERIFY(!window->Text3->text().isEmpty());
}

void FrmHexTest::clearKeepsTheEffectiveDiameterAndTheChosenSize()
{
    choose(window->Combo1, QStringLiteral("4.0 Inches"));
    type(window->Text1, QStringLiteral("150"));
    QTest::mouseClick(window->cmdSimulate, Qt::LeftButton);
    QTest::mouseClick(window->cmdClear, Qt::LeftButton);
    QCOMPARE(window->Combo1->currentIndex(), -1);
    QVERIFY(window->Text1->text().isEmpty());
    QVERIFY(window->Text2->text().isEmpty());
    QVERIFY(window->Text3->text().isEmpty());
    QVERIFY(window->Text4->text().isEmpty());
    QCOMPARE(window->Text5->text(), QStringLiteral("3.8"));
    QCOMPARE(window->WaferDiameter, 4.0f);
    QCOMPARE(window->PIC1->colourAt(CenterX, CenterY), White);
    QCOMPARE(window->lastLayout()->RowTable.upperBound(), 1);
}

void FrmHexTest::disabledRowCountReadsAsClearlyAsTheOtherResults()
{
    QVERIFY(!window->Text2->isEnabled());
    QVERIFY(window->Text3->isEnabled());
    const QColor figure = window->Text3->palette().color(QPalette::Active, QPalette::Text);
    QCOMPARE(window->Text2->palette().color(QPalette::Disabled, QPalette::Text), figure);
    QCOMPARE(window->Text2->palette().color(QPalette::Active, QPalette::Text), figure);
}

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    prepareApplication(application);
    FrmHexTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "frm_hex_test.moc"
