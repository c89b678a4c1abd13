// SPDX-License-Identifier: GPL-3.0-or-later
// The layout designer driven as a user drives it.
#include <memory>

#include <QFileDialog>
#include <QFileSystemModel>
#include <QAbstractProxyModel>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "windows/generation/frm_code.h"
#include "forms/application.h"
#include "forms/file_dialog_details.h"
#include "forms/open_file_dialog.h"
#include "windows/designer/frm_wafer.h"
#include "forms/twips.h"
#include "tests/support/gui_test_support.h"
#include "layout/design_driver.h"

using namespace kerf;
using namespace kerf::ui;
using namespace kerf::testing;

namespace {

const QColor Red(255, 0, 0);
const QColor White(255, 255, 255);

} // namespace

class FrmWaferTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void opensWithItsCaptionListsAndDisabledFineTune();
    void controlsStandWhereTheTwipsSay();
    void tabOrderFollowsTheInputs();
    void numericBoxesDropKeysOtherThanDigitsPointAndBackspace();
    void numericBoxesSelectTheirTextOnFocus();
    void choosingAWaferSizeSetsTheEffectiveDiameter();
    void typingAWaferSizeNotInTheListKeepsTheDiameter();
    void onlyCircleEnablesTheFineTune();
    void designShowsTheResultsOfEachShape();
    void designDrawsRedDiesAndTheBlackOutline();
    void enterPressesTheDesignButton();
    void emptyDieSizeDoesNothing();
    void refusalsShowTheirMessageAndFocusTheBox_data();
    void refusalsShowTheirMessageAndFocusTheBox();
    void refusalKeepsThePreviousLayoutAndPicture();
    void refusalSelectsTheBoxToFixThoughItHadTheFocus();
    void buttonsAreDisabledWhileTheDesignRuns();
    void unparsableNumberIsRefused();
    void noShapeDrawsOnlyTheOutline();
    void clearEmptiesTheBoxesAndPicture();
    void optionDrawsTheTestHexagonOnly();
    void generateRefusesWithoutResults();
    void generateOpensTheCodeWindowModally();
    void escClosesTheWindowAndClearsItsControls();
    void keyboardOpensThePictureMenu();
    void fileDialogsGiveSizesAndDatesInChinese();
    void aClosedWindowIsDestroyedQuietly();
    void aProgramWithoutADesignIsNamed();

private:
    void design(const char* size, const char* shape, const char* die, const char* fine = "");

    std::unique_ptr<frmWafer> window;
    std::unique_ptr<MessageRecorder> messages;
};

void FrmWaferTest::init()
{
    messages = std::make_unique<MessageRecorder>();
    window = std::make_unique<frmWafer>(nullptr);
    window->showModeless();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
}

void FrmWaferTest::cleanup()
{
    window.reset();
    messages.reset();
}

void FrmWaferTest::design(const char* size, const char* shape, const char* die, const char* fine)
{
    choose(window->Combo1, QString::fromLatin1(size));
    choose(window->Combo2, QString::fromLatin1(shape));
    window->Text1->clear();
    type(window->Text1, QString::fromLatin1(die));
    window->Text2->setText(QString::fromLatin1(fine));
    QTest::mouseClick(window->cmdDraw, Qt::LeftButton);
}

void FrmWaferTest::opensWithItsCaptionListsAndDisabledFineTune()
{
    QCOMPARE(window->windowTitle(), QStringLiteral("Kerfwright"));
    QCOMPARE(window->Combo1->count(), 5);
    QCOMPARE(window->Combo1->itemText(0), QStringLiteral("2.0 Inches"));
    QCOMPARE(window->Combo1->itemText(4), QStringLiteral("5.0 Inches"));
    QCOMPARE(window->Combo1->currentIndex(), -1);
    QCOMPARE(window->Combo2->count(), 3);
    QCOMPARE(window->Combo2->itemText(1), QStringLiteral("Hexagon"));
    QCOMPARE(window->Combo2->currentIndex(), -1);
    QVERIFY(!window->Text2->isEnabled());
    QCOMPARE(window->Frame1->title(), QStringLiteral("晶片設定值"));
    QCOMPARE(window->Frame3->title(), QStringLiteral("模擬結果值"));
    QCOMPARE(window->cmdDraw->text(), QStringLiteral("開始設計(&D)"));
    QCOMPARE(window->cmdGenerate->text(), QStringLiteral("產生程式碼(&G)"));
    QCOMPARE(window->Label13->text(), QStringLiteral("面積使用率："));
    QCOMPARE(window->CenterX, CenterX);
    QCOMPARE(window->CenterY, CenterY);
    QCOMPARE(control<QLineEdit>(window.get(), "Text5"), window->Text5.data());
}

void FrmWaferTest::controlsStandWhereTheTwipsSay()
{
    QCOMPARE(window->size(), twipsSize(11130, 7650));
    QCOMPARE(window->PIC1->geometry(), QRect(0, 0, 508, 508));
    QCOMPARE(window->PIC1->scaleWidth(), 5.25f);
    QCOMPARE(window->PIC1->scaleHeight(), 5.25f);
    QCOMPARE(window->Frame1->geometry(), twipsRect(7650, 0, 3480, 2355));
    QCOMPARE(window->cmdDraw->geometry(), twipsRect(225, 180, 1500, 330));
    // The inputs in their rows, top to bottom.
    const int rows[] = {window->Combo1->y(), window->Text5->y(), window->Combo2->y(), window->Text1->y(),
                        window->Text2->y()};
    for (int i = 1; i < 5; ++i)
        QVERIFY(rows[i] > rows[i - 1]);
    QVERIFY(window->Label4->x() > window->Text1->geometry().right());
}

void FrmWaferTest::tabOrderFollowsTheInputs()
{
    window->Combo1->setFocus();
    QWidget* expected[] = {window->Text5,       window->Combo2,    window->Text1,   window->cmdDraw, window->cmdClear,
                           window->cmdGenerate, window->cmdOption, window->cmdExit, window->PIC1};
    // Text2 is disabled, so Tab passes it.
    for (QWidget* next : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), next);
    }
}

void FrmWaferTest::numericBoxesDropKeysOtherThanDigitsPointAndBackspace()
{
    for (QLineEdit* box : {static_cast<QLineEdit*>(window->Text1), static_cast<QLineEdit*>(window->Text5)}) {
        type(box, QStringLiteral("1a2-,.5e"));
        QCOMPARE(box->text(), QStringLiteral("12.5"));
        QTest::keyClick(box, Qt::Key_Backspace);
        QCOMPARE(box->text(), QStringLiteral("12."));
        QTest::keyClicks(box, QStringLiteral(".3 "));
        QCOMPARE(box->text(), QStringLiteral("12..3")); // several points are not prevented
    }
    QVERIFY(!numericBoxTakes(QStringLiteral("\x16"))); // the paste key
    QVERIFY(numericBoxTakes(QStringLiteral("\b")));
    QVERIFY(numericBoxTakes(QString()));
}

void FrmWaferTest::numericBoxesSelectTheirTextOnFocus()
{
    window->Text1->setText(QStringLiteral("125"));
    window->Combo1->setFocus();
    QTest::keyClick(window->Combo1, Qt::Key_Tab); // to Text5
    QTest::keyClick(window->Text5, Qt::Key_Tab);  // to Combo2
    QTest::keyClick(window->Combo2, Qt::Key_Tab); // to Text1
    QCOMPARE(QApplication::focusWidget(), window->Text1.data());
    QCOMPARE(window->Text1->selectedText(), QStringLiteral("125"));
    QTest::mouseClick(window->Text5, Qt::LeftButton);
    QTest::mouseClick(window->Text1, Qt::LeftButton);
    QCOMPARE(window->Text1->selectedText(), QStringLiteral("125"));
    QTest::keyClicks(window->Text1, QStringLiteral("7"));
    QCOMPARE(window->Text1->text(), QStringLiteral("7"));
}

void FrmWaferTest::choosingAWaferSizeSetsTheEffectiveDiameter()
{
    const struct {
        const char* item;
        float diameter;
        const char* effective;
    } cases[] = {{"2.0 Inches", 2.0f, "1.9"},
                 {"2.5 Inches", 2.5f, "2.375"},
                 {"3.0 Inches", 3.0f, "2.85"},
                 {"4.0 Inches", 4.0f, "3.8"},
                 {"5.0 Inches", 5.0f, "4.75"}};
    for (const auto& c : cases) {
        choose(window->Combo1, QString::fromLatin1(c.item));
        QCOMPARE(window->WaferDiameter, c.diameter);
        QCOMPARE(window->WaferRadius, c.diameter / 2);
        QCOMPARE(window->Text5->text(), QString::fromLatin1(c.effective));
    }
}

void FrmWaferTest::typingAWaferSizeNotInTheListKeepsTheDiameter()
{
    choose(window->Combo1, QStringLiteral("3.0 Inches"));
    window->Text5->setText(QStringLiteral("2"));
    window->Combo1->lineEdit()->selectAll();
    type(window->Combo1->lineEdit(), QStringLiteral("7 Inches"));
    QCOMPARE(window->WaferDiameter, 3.0f);
    QCOMPARE(window->Text5->text(), QStringLiteral("2.85"));
    window->Combo1->lineEdit()->clear();
    type(window->Combo1->lineEdit(), QStringLiteral("2.5 Inches"));
    QCOMPARE(window->WaferDiameter, 2.5f);
}

void FrmWaferTest::onlyCircleEnablesTheFineTune()
{
    choose(window->Combo2, QStringLiteral("Circle"));
    QVERIFY(window->Text2->isEnabled());
    type(window->Text2, QStringLiteral("2"));
    choose(window->Combo2, QStringLiteral("Hexagon"));
    QVERIFY(!window->Text2->isEnabled());
    QCOMPARE(window->Text2->text(), QStringLiteral("2"));
    window->Combo2->lineEdit()->clear();
    type(window->Combo2->lineEdit(), QStringLiteral("Circle"));
    QVERIFY(window->Text2->isEnabled());
}

void FrmWaferTest::designShowsTheResultsOfEachShape()
{
    design("2.0 Inches", "Circle", "50", "2");
    QCOMPARE(window->Text3->text(), QStringLiteral("41"));
    QCOMPARE(window->Text4->text(), QStringLiteral("1159"));
    QCOMPARE(window->Text6->text(), QStringLiteral("80.26"));
    QVERIFY(window->lastLayout().has_value());
    QCOMPARE(window->lastLayout()->shape, DieShape::Circle);

    for (const char* shape : {"Hexagon", "Square"}) {
        design("5.0 Inches", shape, "100");
        DesignInput input;
        input.texts = {"5.0 Inches", "4.75", shape, "100", "2"};
        input.WaferDiameter = 5.0f;
        const Design expected = std::get<Design>(runDesign(input));
        QCOMPARE(window->Text3->text().toStdString(), expected.results.rows);
        QCOMPARE(window->Text4->text().toStdString(), expected.results.dies);
        QCOMPARE(window->Text6->text().toStdString(), expected.results.utilisation);
        QCOMPARE(window->lastLayout()->RowTable, expected.layout.RowTable);
        QVERIFY(messages->shown.empty());
    }
}

void FrmWaferTest::designDrawsRedDiesAndTheBlackOutline()
{
    design("5.0 Inches", "Hexagon", "100");
    PictureBox* pic = window->PIC1;
    QCOMPARE(pic->colourAt(CenterX, CenterY), QColor(0, 0, 0));
    // The centre row's first die: its left side is red.
    const LayoutRow& centre = window->lastLayout()->RowTable[1];
    const float left = centre.PosX.toSingle() - window->lastLayout()->HalfDieSize;
    QCOMPARE(pic->colourAt(left, CenterY), Red);
    QCOMPARE(pic->colourAt(0.05f, 0.05f), White);
    // The wafer outline, 2.5 inches left of the centre.
    bool black = false;
    for (float dx = -0.02f; dx <= 0.02f; dx += 0.005f)
        black = black || pic->colourAt(CenterX - 2.5f + dx, CenterY) == QColor(0, 0, 0);
    QVERIFY(black);
}

void FrmWaferTest::enterPressesTheDesignButton()
{
    choose(window->Combo1, QStringLiteral("2.0 Inches"));
    choose(window->Combo2, QStringLiteral("Circle"));
    type(window->Text1, QStringLiteral("50"));
    type(window->Text2, QStringLiteral("2"));
    QTest::keyClick(window->Text2, Qt::Key_Return);
    QCOMPARE(window->Text4->text(), QStringLiteral("1159"));
}

void FrmWaferTest::emptyDieSizeDoesNothing()
{
    choose(window->Combo1, QStringLiteral("2.0 Inches"));
    choose(window->Combo2, QStringLiteral("Circle"));
    QTest::mouseClick(window->cmdDraw, Qt::LeftButton);
    QVERIFY(messages->shown.empty());
    QVERIFY(window->Text3->text().isEmpty());
    QCOMPARE(window->PIC1->colourAt(CenterX, CenterY), White);
}

void FrmWaferTest::refusalsShowTheirMessageAndFocusTheBox_data()
{
    QTest::addColumn<QString>("size");
    QTest::addColumn<QString>("effective");
    QTest::addColumn<QString>("die");
    QTest::addColumn<QString>("fine");
    QTest::addColumn<QString>("prompt");
    QTest::addColumn<QString>("focus");
    const QString dieMessage = QStringLiteral("晶粒尺寸或微調值不合常理，請確認正確數值。");
    const QString effectiveMessage = QStringLiteral("晶片有效直徑大於實際直徑，請確認正確數值。");
    QTest::newRow("no size, no effective diameter") << "" << "" << "50" << "" << dieMessage << "Text1";
    QTest::newRow("no size, effective diameter") << "" << "1.9" << "50" << "" << effectiveMessage << "Text5";
    QTest::newRow("die equal to effective") << "2.0 Inches" << "1.9" << "1900" << "" << dieMessage << "Text1";
    QTest::newRow("fine-tune too large") << "2.0 Inches" << "1.9" << "50" << "1900" << dieMessage << "Text1";
    QTest::newRow("effective larger") << "2.0 Inches" << "2.1" << "50" << "" << effectiveMessage << "Text5";
}

void FrmWaferTest::refusalsShowTheirMessageAndFocusTheBox()
{
    QFETCH(QString, size);
    QFETCH(QString, effective);
    QFETCH(QString, die);
    QFETCH(QString, fine);
    QFETCH(QString, prompt);
    QFETCH(QString, focus);
    if (!size.isEmpty())
        choose(window->Combo1, size);
    choose(window->Combo2, QStringLiteral("Circle"));
    window->Text5->setText(effective);
    window->Text2->setText(fine);
    type(window->Text1, die);
    window->cmdOption->setFocus();
    QTest::mouseClick(window->cmdDraw, Qt::LeftButton);
    QCOMPARE(messages->shown.size(), std::size_t(1));
    const ShownMessage& m = messages->shown.front();
    QCOMPARE(QString::fromStdString(m.prompt), prompt);
    QCOMPARE(m.title, std::string("輸入數值錯誤"));
    QCOMPARE(m.icon, MessageIcon::Exclamation);
    QCOMPARE(m.owner, window.get());
    QCOMPARE(QString::fromStdString(MessageText), prompt);
    QCOMPARE(QApplication::focusWidget()->objectName(), focus);
    QVERIFY(window->Text3->text().isEmpty());
    QVERIFY(!window->lastLayout().has_value());
}

void FrmWaferTest::refusalKeepsThePreviousLayoutAndPicture()
{
    design("2.0 Inches", "Circle", "50", "2");
    const WaferLayout before = *window->lastLayout();
    const QImage picture = window->PIC1->image();
    window->Text5->setText(QStringLiteral("2.5"));
    QTest::mouseClick(window->cmdDraw, Qt::LeftButton);
    QCOMPARE(messages->shown.size(), std::size_t(1));
    QCOMPARE(window->lastLayout()->RowTable, before.RowTable);
    QCOMPARE(window->Text4->text(), QStringLiteral("1159"));
    QCOMPARE(window->PIC1->image(), picture);
}

void FrmWaferTest::refusalSelectsTheBoxToFixThoughItHadTheFocus()
{
    choose(window->Combo1, QStringLiteral("2.0 Inches"));
    type(window->Text1, QStringLiteral("50"));
    type(window->Text5, QStringLiteral("2.5"));
    QTest::keyClick(window->Text5, Qt::Key_Return);
    QCOMPARE(messages->shown.size(), std::size_t(1));
    QCOMPARE(QApplication::focusWidget(), window->Text5.data());
    QCOMPARE(window->Text5->selectedText(), QStringLiteral("2.5"));
    QTest::keyClicks(window->Text5, QStringLiteral("1.9"));
    QCOMPARE(window->Text5->text(), QStringLiteral("1.9"));
}

void FrmWaferTest::buttonsAreDisabledWhileTheDesignRuns()
{
    bool allDisabled = false;
    messages->whileShown = [&] {
        allDisabled = !window->cmdDraw->isEnabled() && !window->cmdClear->isEnabled()
                      && !window->cmdGenerate->isEnabled() && !window->cmdOption->isEnabled()
                      && !window->cmdExit->isEnabled();
    };
    window->Text5->setText(QStringLiteral("3"));
    type(window->Text1, QStringLiteral("50"));
    QTest::mouseClick(window->cmdDraw, Qt::LeftButton);
    QVERIFY(allDisabled);
    for (QPushButton* button : {window->cmdDraw.data(), window->cmdClear.data(), window->cmdGenerate.data(),
                                window->cmdOption.data(), window->cmdExit.data()})
        QVERIFY(button->isEnabled());
}

void FrmWaferTest::unparsableNumberIsRefused()
{
    choose(window->Combo1, QStringLiteral("2.0 Inches"));
    choose(window->Combo2, QStringLiteral("Square"));
    type(window->Text1, QStringLiteral("1..5"));
    QTest::mouseClick(window->cmdDraw, Qt::LeftButton);
    QCOMPARE(messages->shown.size(), std::size_t(1));
    QCOMPARE(messages->shown.front().title, std::string("輸入數值錯誤"));
    QCOMPARE(QApplication::focusWidget(), window->Text1.data());
    QVERIFY(window->Text3->text().isEmpty());
}

void FrmWaferTest::noShapeDrawsOnlyTheOutline()
{
    choose(window->Combo1, QStringLiteral("4.0 Inches"));
    type(window->Text1, QStringLiteral("100"));
    QTest::mouseClick(window->cmdDraw, Qt::LeftButton);
    QVERIFY(messages->shown.empty());
    QCOMPARE(window->PIC1->colourAt(CenterX, CenterY), QColor(0, 0, 0));
    QVERIFY(window->Text3->text().isEmpty());
    QVERIFY(!window->lastLayout().has_value());
    // A shape outside the list after a design: its results and layout go too.
    design("2.0 Inches", "Circle", "50", "2");
    type(window->Combo2, QStringLiteral("Triangle"));
    QTest::mouseClick(window->cmdDraw, Qt::LeftButton);
    for (QLineEdit* result : {window->Text3, window->Text4, window->Text6})
        QVERIFY(result->text().isEmpty());
    QVERIFY(!window->lastLayout().has_value());
    QTest::mouseClick(window->cmdGenerate, Qt::LeftButton);
    QCOMPARE(messages->shown.back().prompt, std::string("無晶片資料可以產生程式碼。"));
    QVERIFY(!window->codeWindow());
}

void FrmWaferTest::clearEmptiesTheBoxesAndPicture()
{
    design("2.0 Inches", "Circle", "50", "2");
    QTest::mouseClick(window->cmdClear, Qt::LeftButton);
    QCOMPARE(window->Combo1->currentIndex(), -1);
    QCOMPARE(window->Combo2->currentIndex(), -1);
    QVERIFY(window->Text1->text().isEmpty());
    QVERIFY(window->Text2->text().isEmpty());
    QVERIFY(window->Text3->text().isEmpty());
    QVERIFY(window->Text4->text().isEmpty());
    QCOMPARE(window->Text5->text(), QStringLiteral("1.9"));
    QCOMPARE(window->Text6->text(), QStringLiteral("80.26"));
    QCOMPARE(window->PIC1->colourAt(CenterX, CenterY), White);
    QCOMPARE(window->lastLayout()->RowTable.upperBound(), 1);
    QCOMPARE(window->lastLayout()->RowTable[1], LayoutRow{});
    QCOMPARE(window->WaferDiameter, 2.0f);
}

void FrmWaferTest::optionDrawsTheTestHexagonOnly()
{
    design("5.0 Inches", "Hexagon", "100");
    const WaferLayout before = *window->lastLayout();
    window->PIC1->Cls();
    QTest::mouseClick(window->cmdOption, Qt::LeftButton);
    QCOMPARE(window->PIC1->colourAt(CenterX, CenterY), QColor(0, 0, 0));
    QCOMPARE(window->PIC1->colourAt(CenterX - 0.052f, CenterY), Red);
    QCOMPARE(window->lastLayout()->HalfDieSize, before.HalfDieSize);
    QCOMPARE(window->lastLayout()->HexHalfSide, before.HexHalfSide);
    QCOMPARE(window->Text4->text().toStdString(), layoutResults(before).dies);
    QVERIFY(messages->shown.empty());
}

void FrmWaferTest::generateRefusesWithoutResults()
{
    QTest::mouseClick(window->cmdGenerate, Qt::LeftButton);
    QCOMPARE(messages->shown.size(), std::size_t(1));
    QCOMPARE(messages->shown.front().prompt, std::string("無晶片資料可以產生程式碼。"));
    QCOMPARE(messages->shown.front().title, std::string("無資料"));
    QCOMPARE(messages->shown.front().icon, MessageIcon::Exclamation);
    QVERIFY(window->codeWindow() == nullptr);

    design("2.0 Inches", "Circle", "50", "2");
    QTest::mouseClick(window->cmdClear, Qt::LeftButton);
    QTest::mouseClick(window->cmdGenerate, Qt::LeftButton);
    QCOMPARE(messages->shown.size(), std::size_t(2));
    QVERIFY(window->codeWindow() == nullptr);
}

void FrmWaferTest::generateOpensTheCodeWindowModally()
{
    design("2.0 Inches", "Square", "100");
    QTest::mouseClick(window->cmdGenerate, Qt::LeftButton);
    frmCode* code = window->codeWindow();
    QVERIFY(code != nullptr);
    QVERIFY(code->isVisible());
    QCOMPARE(code->windowModality(), Qt::ApplicationModal);
    QCOMPARE(code->parentWidget(), window.get());
    QCOMPARE(code->windowTitle(), QStringLiteral("產生程式碼"));
    // Closing the designer closes the window it owns.
    window->unload();
    QVERIFY(!code->isVisible());
    QVERIFY(!code->isLoaded());
}

void FrmWaferTest::escClosesTheWindowAndClearsItsControls()
{
    design("2.0 Inches", "Circle", "50", "2");
    QSignalSpy unloaded(window.get(), &Form::unloaded);
    QTest::keyClick(window->Text1, Qt::Key_Escape);
    QCOMPARE(unloaded.count(), 1);
    QVERIFY(!window->isVisible());
    QVERIFY(!window->isLoaded());
    window->showModeless();
    QVERIFY(window->Text1->text().isEmpty());
    QVERIFY(window->Text3->text().isEmpty());
    QCOMPARE(window->Combo1->currentIndex(), -1);
    QCOMPARE(window->PIC1->colourAt(CenterX, CenterY), White);
    QCOMPARE(window->WaferDiameter, 2.0f); // a private value, found again
    QCOMPARE(window->findChildren<QLineEdit*>(QStringLiteral("Text1")).size(), qsizetype(1));
}

void FrmWaferTest::keyboardOpensThePictureMenu()
{
    for (const QKeyCombination keys : {QKeyCombination(Qt::SHIFT, Qt::Key_F10), QKeyCombination(Qt::Key_Menu)}) {
        window->cmdExit->setFocus();
        QTest::keyClick(window->cmdExit, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), window->PIC1.data());
        QTest::keyClick(window->PIC1, keys.key(), keys.keyboardModifiers());
        QTRY_VERIFY(window->PIC1Menu->isVisible());
        window->PIC1Menu->close();
    }
}

void FrmWaferTest::fileDialogsGiveSizesAndDatesInChinese()
{
    for (const auto& [bytes, text] : {std::pair<qint64, const char*>{84, "84 位元組"}, {1023, "1023 位元組"},
                                      {1536, "1.5 KB"}, {5 << 20, "5.0 MB"}, {3LL << 30, "3.0 GB"}})
        QCOMPARE(fileSizeText(bytes), QString::fromUtf8(text));
    // The open dialog itself, as Qt draws it.
    const QTemporaryDir folder;
    QFile file(folder.filePath(QStringLiteral("JOBA.TXT")));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(QByteArray(84, 'x')) == 84);
    file.close();
    QStringList shown;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        auto* files = qobject_cast<QFileSystemModel*>(dialog->proxyModel()->sourceModel());
        QVERIFY(files);
        QModelIndex source;
        QTRY_VERIFY((source = files->index(file.fileName())).isValid() && files->size(source) == 84);
        const QModelIndex row = dialog->proxyModel()->mapFromSource(source);
        shown << row.siblingAtColumn(1).data().toString() << row.siblingAtColumn(3).data().toString();
        dialog->reject();
    });
    QTimer::singleShot(10000, [] { // never held by a dialog that did not answer
        if (QWidget* modal = QApplication::activeModalWidget())
            modal->close();
    });
    QVERIFY(askOpenFileName(window.get(), QStringLiteral("開啟"), folder.path(), QStringLiteral("全部 (*)")).isEmpty());
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown[0], QStringLiteral("84 位元組"));
    QCOMPARE(shown[1], QFileInfo(file).lastModified().toString(QStringLiteral("yyyy/MM/dd HH:mm")));
}

void FrmWaferTest::aClosedWindowIsDestroyedQuietly()
{
    QTest::failOnWarning(QRegularExpression(QStringLiteral("QObject::disconnect")));
    window->close();
    QTRY_VERIFY(!window->Combo1); // the controls are gone
    window.reset();
}

void FrmWaferTest::aProgramWithoutADesignIsNamed()
{
    window->openProgramFile(QStringLiteral("/no/such/JOBA.TXT"));
    QCOMPARE(messages->shown.size(), std::size_t(1));
    QCOMPARE(messages->shown[0].prompt, std::string("無晶片資料可以檢查切割程式「JOBA.TXT」：請先開始設計，或開啟工作檔。"));
}

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    prepareApplication(application);
    FrmWaferTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "frm_wafer_test.moc"
