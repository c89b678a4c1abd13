// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/offscreen_qt.h"

#include <unistd.h>

#include <cstdio>

#include <QByteArray>
#include <QtGlobal>

#include "cli/message_prefix.h"

namespace kerf::cli {

void prepareOffscreenQt()
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
            if (type == QtFatalMsg) {
                // Qt gives up (no platform plugin where memory is short, a
                // drawing's allocation): the command's words and status 1
                // rather than Qt's abort; nothing was put in place.
                std::fputs(MessagePrefix.data(), stderr);
                std::fputs(QtGaveUpMessage, stderr);
                std::fflush(stderr);
                ::_exit(1);
            }
            if (type == QtCriticalMsg)
                previous(type, context, message);
        });
}

} // namespace kerf::cli
