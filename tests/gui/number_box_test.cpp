// SPDX-License-Identifier: GPL-3.0-or-later
// The numeric boxes' clipboard, undo and context menu.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QTest>

#include <QMimeData>

#include "forms/number_box.h"
#include "tests/support/gui_test_support.h"

using namespace kerf;
using namespace kerf::ui;
using kerf::testing::MessageRecorder;

class NumberBoxTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void filterKeepsWhatTypingKeeps();
    void selectAllAndCopy();
    void pasteIsTakenWholeOrRefused();
    void cutAndUndo();
    void contextMenuPasteIsChecked();
    void contextMenuHasTheEditActions();
    void dropIsCheckedAsAPaste();

private:
    NumberBox* box = nullptr;
};

void NumberBoxTest::init()
{
    box = new NumberBox;
    box->show();
    box->setFocus();
    QApplication::clipboard()->clear();
}

void NumberBoxTest::cleanup()
{
    delete box;
    box = nullptr;
}

void NumberBoxTest::filterKeepsWhatTypingKeeps()
{
    const struct {
        const char16_t* text;
        const char16_t* kept;
    } cases[] = {{u"12.5", u"12.5"},      {u"-12,5e3", u"1253"}, {u" 50\n", u"50"},  {u"１２", u""},
                 {u"\u0661\u0662", u""}, {u"a\tb", u""},        {u"1.2.3", u"1.2.3"}, {u"", u""}};
    for (const auto& c : cases) {
        const QString text = QString::fromUtf16(c.text);
        QCOMPARE(numericBoxFilter(text), QString::fromUtf16(c.kept));
        // Each printable character kept is one the key filter lets through, and no other.
        for (const QChar ch : text)
            if (ch.isPrint())
                QCOMPARE(numericBoxFilter(QString(ch)).isEmpty(), !numericBoxTakes(QString(ch)));
    }
}

void NumberBoxTest::selectAllAndCopy()
{
    QTest::keyClicks(box, QStringLiteral("125"));
    box->setCursorPosition(1);
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(box->selectedText(), QStringLiteral("125"));
    QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("125"));
    QCOMPARE(box->text(), QStringLiteral("125"));
}

void NumberBoxTest::pasteIsTakenWholeOrRefused()
{
    // Over the whole text «50»: taken trimmed, or refused with the box's message and the text kept.
    const struct {
        const char16_t* pasted;
        const char16_t* text;
        const char* message; // the start of the refusal, or none
    } cases[] = {{u"12.5", u"12.5", nullptr},
                 {u" 12.5\n", u"12.5", nullptr},
                 {u"12,5", u"50", "晶粒尺寸「12,5」不是有效的數值"},
                 {u"1e2", u"50", "晶粒尺寸「1e2」不是有效的數值"},
                 {u"+50", u"50", "晶粒尺寸「+50」不是有效的數值"},
                 {u"1.2.3", u"50", "晶粒尺寸「1.2.3」不是有效的數值"},
                 {u"５０", u"50", "晶粒尺寸「５０」不是有效的數值"},
                 {u"-5", u"50", "晶粒尺寸不可為負數，請確認正確數值。"},
                 {u" \t", u"50", nullptr}};
    box->setRefusalBox(InputBox::DieSize);
    MessageRecorder messages;
    for (const auto& c : cases) {
        box->setText(QStringLiteral("50"));
        box->selectAll();
        messages.shown.clear();
        QApplication::clipboard()->setText(QString::fromUtf16(c.pasted));
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(box->text(), QString::fromUtf16(c.text));
        QCOMPARE(messages.shown.size(), std::size_t(c.message ? 1 : 0));
        if (c.message) {
            QVERIFY2(messages.shown.front().prompt.starts_with(c.message), messages.shown.front().prompt.c_str());
            QCOMPARE(messages.shown.front().title, std::string(InputErrorTitle));
        }
    }
    // The other paste key is checked too.
    messages.shown.clear();
    QApplication::clipboard()->setText(QStringLiteral("-3"));
    QTest::keyClick(box, Qt::Key_Insert, Qt::ShiftModifier);
    QCOMPARE(messages.shown.size(), std::size_t(1));
    // A box of no design input names the text only.
    NumberBox plain;
    QApplication::clipboard()->setText(QStringLiteral("1.5.1"));
    QTest::keyClick(&plain, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(messages.shown.back().prompt, std::string("「1.5.1」不是這個欄位可以輸入的數值，沒有貼上。"));
    QCOMPARE(plain.text(), QString());
}

void NumberBoxTest::cutAndUndo()
{
    QTest::keyClicks(box, QStringLiteral("12.5"));
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(box->text(), QString());
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("12.5"));
    QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(box->text(), QStringLiteral("12.5"));
    QApplication::clipboard()->setText(QStringLiteral("7"));
    QTest::keyClick(box, Qt::Key_End);
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(box->text(), QStringLiteral("12.57"));
    QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier); // a paste is undone like typing
    QCOMPARE(box->text(), QStringLiteral("12.5"));
}

void NumberBoxTest::contextMenuPasteIsChecked()
{
    MessageRecorder messages;
    QApplication::clipboard()->setText(QStringLiteral("x-3.25y"));
    QMenu* menu = box->createContextMenu();
    QAction* paste = menu->findChild<QAction*>(QStringLiteral("edit-paste"));
    QVERIFY(paste);
    QVERIFY(paste->isEnabled());
    paste->trigger();
    QCOMPARE(box->text(), QString());
    QCOMPARE(messages.shown.size(), std::size_t(1));
    QApplication::clipboard()->setText(QStringLiteral("3.25"));
    paste->trigger();
    QCOMPARE(box->text(), QStringLiteral("3.25"));
    delete menu;
}

void NumberBoxTest::contextMenuHasTheEditActions()
{
    QTest::keyClicks(box, QStringLiteral("12"));
    box->selectAll();
    QMenu* menu = box->createContextMenu();
    for (const char* name : {"edit-undo", "edit-redo", "edit-cut", "edit-copy", "edit-paste", "edit-delete"})
        QVERIFY2(menu->findChild<QAction*>(QString::fromLatin1(name)), name);
    QVERIFY(!menu->findChild<QAction*>(QStringLiteral("select-all"))->isEnabled()); // all selected already
    QVERIFY(menu->findChild<QAction*>(QStringLiteral("edit-undo"))->isEnabled());
    menu->findChild<QAction*>(QStringLiteral("edit-copy"))->trigger();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("12"));
    delete menu;
}

void NumberBoxTest::dropIsCheckedAsAPaste()
{
    MessageRecorder messages;
    box->setRefusalBox(InputBox::DieSize);
    box->setText(QStringLiteral("50"));
    const auto drop = [this](const QString& text) {
        QMimeData data;
        data.setText(text);
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(box, &enter);
        QDropEvent event(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(box, &event);
    };
    drop(QStringLiteral("-5"));
    QCOMPARE(box->text(), QStringLiteral("50"));
    QCOMPARE(messages.shown.size(), std::size_t(1));
    drop(QStringLiteral(" 75 "));
    QCOMPARE(box->text(), QStringLiteral("75"));
    QCOMPARE(messages.shown.size(), std::size_t(1));
}

QTEST_MAIN(NumberBoxTest)
#include "number_box_test.moc"
