// Memory that runs out while a window handles an event: a message box, and
// the program goes on.
#include <new>

#include <QPushButton>
#include <QTest>

#include "designer/guarded_application.h"
#include "gui_test_support.h"

using namespace kerf;
using namespace kerf::testing;

class GuardedApplicationTest : public QObject {
    Q_OBJECT

private slots:
    void memoryRunningOutInAClickShowsTheBoxAndTheWindowStays();
};

void GuardedApplicationTest::memoryRunningOutInAClickShowsTheBoxAndTheWindowStays()
{
    MessageRecorder recorder;
    QPushButton button(QStringLiteral("設計"));
    int clicks = 0;
    connect(&button, &QPushButton::clicked, &button, [&] {
        if (++clicks == 1)
            throw std::bad_alloc();
    });
    button.show();
    QTest::mouseClick(&button, Qt::LeftButton);
    QCOMPARE(recorder.shown.size(), std::size_t(1));
    QCOMPARE(recorder.shown[0].icon, ui::MessageIcon::Exclamation);
    QCOMPARE(recorder.shown[0].title, std::string(ui::OutOfMemoryTitle));
    QCOMPARE(recorder.shown[0].prompt, std::string(ui::OutOfMemoryPrompt));
    QTest::mouseClick(&button, Qt::LeftButton);
    QCOMPARE(clicks, 2);
    QVERIFY(button.isVisible());
}

int main(int argc, char** argv)
{
    ui::GuardedApplication application(argc, argv);
    GuardedApplicationTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "guarded_application_test.moc"
