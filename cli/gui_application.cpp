// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/gui_application.h"

#include <QGuiApplication>

#include "cli/offscreen_qt.h"
#include "render/drawing_failure.h"
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
    prepareOffscreenQt();
    map::requireDrawingRoom(map::QtStartRoom); // loading the platform plugin aborts where memory is short
    static int argc = 1;
    static char name[] = "kerfwright-cli";
    static char* argv[] = {name, nullptr};
    new QGuiApplication(argc, argv);
    map::prepareDrawingThreads();
}

} // namespace kerf::cli
