// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/guarded_application.h"

#include <cstdio>
#include <new>

#include "forms/message_box.h"
#include "render/drawing_failure.h"

namespace kerf::ui {

GuardedApplication::GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool GuardedApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const map::DrawingFailed& failure) {
        showMessage(activeWindow(), MessageIcon::Exclamation, DrawingFailedTitle, failure.what());
        return true;
    } catch (const std::bad_alloc&) {
        try {
            showMessage(activeWindow(), MessageIcon::Exclamation, OutOfMemoryTitle, OutOfMemoryPrompt);
        } catch (const std::bad_alloc&) {
            // Not even the box fits: say it where a terminal may show it.
            std::fputs(OutOfMemoryPrompt, stderr);
            std::fputs("\n", stderr);
        }
        return true;
    }
}

} // namespace kerf::ui
