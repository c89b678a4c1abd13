// The numeric boxes' clipboard, undo and context menu.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QTest>

#include "forms/number_box.h"

using namespace kerf::ui;

class NumberBoxTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void filterKeepsWhatTypingKeeps();
    void selectAllAndCopy();
    void pasteIsFilteredAsTyping();
    void pasteReplacesTheSelection();
    void cutAndUndo();
    void contextMenuPasteIsFiltered();
    void contextMenuHasTheEditActions();
    void nothingCanBeDropped();

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

void NumberBoxTest::pasteIsFilteredAsTyping()
{
    QApplication::clipboard()->setText(QStringLiteral("-1a2,.5 mil"));
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(box->text(), QStringLiteral("12.5"));
    QApplication::clipboard()->setText(QStringLiteral("x"));
    QTest::keyClick(box, Qt::Key_Insert, Qt::ShiftModifier); // the other paste key
    QCOMPARE(box->text(), QStringLiteral("12.5"));
}

void NumberBoxTest::pasteReplacesTheSelection()
{
    QTest::keyClicks(box, QStringLiteral("999"));
    box->selectAll();
    QApplication::clipboard()->setText(QStringLiteral("+50"));
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(box->text(), QStringLiteral("50"));
    // Nothing to keep: the selection goes, as typing over it with a dropped key would not.
    box->selectAll();
    QApplication::clipboard()->setText(QStringLiteral("abc"));
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(box->text(), QString());
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

void NumberBoxTest::contextMenuPasteIsFiltered()
{
    QApplication::clipboard()->setText(QStringLiteral("x-3.25y"));
    QMenu* menu = box->createContextMenu();
    QAction* paste = menu->findChild<QAction*>(QStringLiteral("edit-paste"));
    QVERIFY(paste);
    QVERIFY(paste->isEnabled());
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

void NumberBoxTest::nothingCanBeDropped() { QVERIFY(!box->acceptDrops()); }

QTEST_MAIN(NumberBoxTest)
#include "number_box_test.moc"
