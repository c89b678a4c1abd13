#include "cli/gui_application.h"

#include <QGuiApplication>

#include "render/drawing_threads.h"

namespace kerf::cli {

// The application is never destroyed: tearing it down among the other
// statics at exit is not safe. The drawing's threads are made at once, while
// the process is small (DrawingFailed when none can be).
void ensureGuiApplication()
{
    if (QCoreApplication::instance()) {
        map::prepareDrawingThreads();
        return;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt's note that a session without a desktop has no runtime folder is no
    // concern of an image file; every other message goes where it went.
    static const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
            if (type != QtWarningMsg || !message.startsWith(QLatin1String("QStandardPaths:")))
                previous(type, context, message);
        });
    static int argc = 1;
    static char name[] = "kerfwright-cli";
    static char* argv[] = {name, nullptr};
    new QGuiApplication(argc, argv);
    map::prepareDrawingThreads();
}

} // namespace kerf::cli
