// SPDX-License-Identifier: GPL-3.0-or-later
// Memory that runs out, or a picture that cannot be drawn, while a window
// handles an event: a message box, and the program goes on.
#include <new>

#include <QEvent>
#include <QTest>

#include "forms/guarded_application.h"
#include "render/drawing_failure.h"
#include "tests/support/gui_test_support.h"

using namespace kerf;
using namespace kerf::testing;

// A receiver whose handling of its first event runs out of memory, and of its
// second cannot draw.
class Hungry : public QObject {
public:
    int handled = 0;

protected:
    bool event(QEvent* event) override
    {
        if (event->type() != QEvent::User)
            return QObject::event(event);
        if (++handled == 1)
            throw std::bad_alloc();
        if (handled == 2)
            throw map::DrawingFailed("無法開始繪圖。");
        return true;
    }
};

class GuardedApplicationTest : public QObject {
    Q_OBJECT

private slots:
    void memoryRunningOutInAnEventShowsTheBoxAndTheProgramGoesOn();
};

void GuardedApplicationTest::memoryRunningOutInAnEventShowsTheBoxAndTheProgramGoesOn()
{
    MessageRecorder recorder;
    Hungry receiver;
    QEvent first(QEvent::User);
    QVERIFY(QCoreApplication::sendEvent(&receiver, &first));
    // Said once the event's handling is over, never inside it (a paint's).
    QCOMPARE(recorder.shown.size(), std::size_t(0));
    QTRY_COMPARE(recorder.shown.size(), std::size_t(1));
    QCOMPARE(recorder.shown[0].icon, ui::MessageIcon::Exclamation);
    QCOMPARE(recorder.shown[0].title, std::string(ui::OutOfMemoryTitle));
    QCOMPARE(recorder.shown[0].prompt, std::string(ui::OutOfMemoryPrompt));
    QEvent second(QEvent::User);
    QVERIFY(QCoreApplication::sendEvent(&receiver, &second));
    QTRY_COMPARE(recorder.shown.size(), std::size_t(2));
    QCOMPARE(recorder.shown[1].title, std::string(ui::DrawingFailedTitle));
    QCOMPARE(recorder.shown[1].prompt, std::string("無法開始繪圖。"));
    QEvent third(QEvent::User);
    QVERIFY(QCoreApplication::sendEvent(&receiver, &third));
    QCOMPARE(receiver.handled, 3);
    QCoreApplication::sendPostedEvents();
    QCOMPARE(recorder.shown.size(), std::size_t(2));
}

int main(int argc, char** argv)
{
    ui::GuardedApplication application(argc, argv);
    GuardedApplicationTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "guarded_application_test.moc"
