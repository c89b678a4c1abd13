// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/guarded_application.h"

#include <cstdio>
#include <new>
#include <string>

#include "forms/message_box.h"
#include "render/drawing_failure.h"

namespace kerf::ui {

GuardedApplication::GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool GuardedApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const map::DrawingFailed& failure) {
        sayLater(DrawingFailedTitle, failure.what());
        return true;
    } catch (const std::bad_alloc&) {
        sayLater(OutOfMemoryTitle, OutOfMemoryPrompt);
        return true;
    }
}

void GuardedApplication::sayLater(const char* title, const char* prompt)
{
    if (saying_)
        return;
    try {
        QMetaObject::invokeMethod(
            this,
            [this, title, prompt = std::string(prompt)] {
                try {
                    showMessage(activeWindow(), MessageIcon::Exclamation, title, prompt);
                } catch (const std::bad_alloc&) {
                    std::fputs(OutOfMemoryPrompt, stderr);
                    std::fputs("\n", stderr);
                }
                saying_ = false;
            },
            Qt::QueuedConnection);
        saying_ = true;
    } catch (const std::bad_alloc&) {
        // Not even the box fits: say it where a terminal may show it.
        std::fputs(OutOfMemoryPrompt, stderr);
        std::fputs("\n", stderr);
    }
}

} // namespace kerf::ui
