// SPDX-License-Identifier: GPL-3.0-or-later
// Where a tool window opens beside the main menu, and its size.
#include <QTest>

#include "forms/window_placement.h"

using namespace kerf::ui;

class WindowPlacementTest : public QObject {
    Q_OBJECT
private slots:
    void placesBesideTheAnchor_data();
    void placesBesideTheAnchor();
    void cascadedWindowsStayOnTheScreenAndApart();
    void aFittedWindowLeavesRoomForAFrameNotYetKnown();
};

void WindowPlacementTest::placesBesideTheAnchor_data()
{
    QTest::addColumn<QRect>("anchor");
    QTest::addColumn<QSize>("window");
    QTest::addColumn<QRect>("screen");
    QTest::addColumn<QPoint>("expected");
    const QRect screen(0, 0, 1280, 1024);
    QTest::newRow("right of a menu at the corner") << QRect(0, 0, 190, 130) << QSize(700, 600) << screen
                                                   << QPoint(198, 0);
    QTest::newRow("left of a menu at the right edge")
        << QRect(1090, 100, 190, 130) << QSize(700, 600) << screen << QPoint(382, 100);
    QTest::newRow("below a menu in the middle of a narrow screen")
        << QRect(500, 0, 190, 130) << QSize(700, 600) << QRect(0, 0, 1000, 1024) << QPoint(300, 138);
    QTest::newRow("above a menu at the bottom of a narrow screen")
        << QRect(500, 800, 190, 130) << QSize(700, 600) << QRect(0, 0, 1000, 1024) << QPoint(300, 192);
    QTest::newRow("moved up onto the screen")
        << QRect(0, 900, 190, 124) << QSize(700, 600) << screen << QPoint(198, 424);
    QTest::newRow("screen not at the origin")
        << QRect(1280, 0, 190, 130) << QSize(700, 600) << QRect(1280, 0, 1280, 1024) << QPoint(1478, 0);
    QTest::newRow("larger than any room: the least overlap")
        << QRect(0, 0, 190, 130) << QSize(1280, 1024) << screen << QPoint(0, 0);
}

void WindowPlacementTest::placesBesideTheAnchor()
{
    QFETCH(QRect, anchor);
    QFETCH(QSize, window);
    QFETCH(QRect, screen);
    QFETCH(QPoint, expected);
    const QPoint corner = placeBeside(anchor, window, screen, 0);
    QCOMPARE(corner, expected);
    if (window.width() < screen.width() && window.height() < screen.height()) {
        QVERIFY(!QRect(corner, window).intersects(anchor));
        QVERIFY(screen.contains(QRect(corner, window)));
    }
}

void WindowPlacementTest::cascadedWindowsStayOnTheScreenAndApart()
{
    const QRect screen(0, 0, 1280, 1024);
    const QRect anchor(0, 0, 190, 130);
    const QSize window(700, 600);
    QPoint previous(-1, -1);
    for (int cascade = 0; cascade < 40; ++cascade) {
        const QPoint corner = placeBeside(anchor, window, screen, cascade);
        QVERIFY(screen.contains(QRect(corner, window)));
        QVERIFY(!QRect(corner, window).intersects(anchor));
        QVERIFY(corner != previous);
        previous = corner;
    }
    QCOMPARE(placeBeside(anchor, window, screen, 1), QPoint(198, CascadeStep));
}

// An owner shown a moment ago has no frame yet (the window manager adds it
// later): a window fitted beside it still leaves room for a title bar.
void WindowPlacementTest::aFittedWindowLeavesRoomForAFrameNotYetKnown()
{
    for (const QSize& unknown : {QSize(), QSize(0, 0), QSize(2, 0)})
        QVERIFY(assumedFrame(unknown).height() >= 24);
    QCOMPARE(assumedFrame(QSize(4, 30)), QSize(4, 30));
}

QTEST_GUILESS_MAIN(WindowPlacementTest)
#include "window_placement_test.moc"
