// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/offscreen_qt.h"

#include <QByteArray>
#include <QtGlobal>

namespace kerf::cli {

void prepareOffscreenQt()
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
            if (type == QtCriticalMsg || type == QtFatalMsg)
                previous(type, context, message);
        });
}

} // namespace kerf::cli
