// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/main_menu/display_guard.h"

#include <cstdio>
#include <cstdlib>

#include <QByteArray>
#include <QString>

namespace kerf::ui {

namespace {

QByteArray& heldMessages()
{
    static QByteArray held;
    return held;
}

void holdMessage(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtFatalMsg) {
        std::fputs(NoDisplayText, stderr);
        std::_Exit(1);
    }
    heldMessages() += message.toLocal8Bit() + '\n';
}

} // namespace

DisplayGuard::DisplayGuard() : previous_(qInstallMessageHandler(holdMessage)) {}

DisplayGuard::~DisplayGuard()
{
    qInstallMessageHandler(previous_);
    std::fputs(heldMessages().constData(), stderr);
    heldMessages().clear();
}

} // namespace kerf::ui
