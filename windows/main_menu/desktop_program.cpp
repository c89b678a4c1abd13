// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/main_menu/desktop_program.h"

#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include <QApplication>
#include <QFile>
#include <QTimer>

#include "about/about_text.h"
#include "forms/application.h"
#include "forms/guarded_application.h"
#include "render/drawing_failure.h"
#include "windows/main_menu/display_guard.h"
#include "windows/main_menu/main_wafer.h"
#include "windows/main_menu/start_arguments.h"

namespace kerf::ui {

namespace {

// Qt gives up where it cannot go on (no memory for what it must make): the
// program's words and status 1 rather than Qt's abort.
void endOnQtFatal()
{
    static const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
            if (type != QtFatalMsg) {
                previous(type, context, message);
                return;
            }
            std::fputs("kerfwright：Qt 無法繼續：沒有可用的顯示器，或記憶體不足（例如 ulimit -v 太小）。\n", stderr);
            std::fflush(stderr);
            std::_Exit(1);
        });
}

} // namespace

int runDesktopProgram(int argc, char* argv[])
{
    // The arguments are read before the application opens the display: help,
    // the version and a usage error need none.
    const StartRequest request = readStartArguments(std::vector<std::string>(argv + 1, argv + argc));
    if (request.kind == StartRequest::Kind::Help) {
        std::fputs(startHelpText(programVersion()).c_str(), stdout);
        return 0;
    }
    if (request.kind == StartRequest::Kind::Version) {
        std::fputs(aboutText("Kerfwright").c_str(), stdout);
        return 0;
    }
    if (request.kind == StartRequest::Kind::UnknownOption) {
        std::fprintf(stderr, "kerfwright：不認得的選項：%s\n%s", request.unknownOption.c_str(),
                     startHelpText(programVersion()).c_str());
        return 2;
    }
    // Each design run builds tables of up to a few megabytes and frees the
    // last one: keep freed memory for the next run instead of handing it back
    // to the system and faulting it in again.
    mallopt(M_TRIM_THRESHOLD, 512 << 20);
    endOnQtFatal();
    try {
        map::requireDrawingRoom(map::DesktopStartRoom);
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "kerfwright：記憶體不足，無法啟動：可用的記憶體不到 %lld MB。\n",
                     static_cast<long long>(map::DesktopStartRoom >> 20));
        return 1;
    }
    std::optional<DisplayGuard> displayGuard(std::in_place); // no display: said in Chinese, exit 1
    GuardedApplication application(argc, argv);             // takes Qt's own options out of argv
    displayGuard.reset();
    QApplication::setApplicationName(QStringLiteral("Kerfwright"));
    QApplication::setApplicationVersion(QString::fromUtf8(programVersion().data(), programVersion().size()));
    if (!prepareApplication(application))
        return 1;
    MainWafer menu;
    menu.show();
    for (std::size_t i = 1; i < request.jobs.size(); ++i)
        std::fprintf(stderr, "kerfwright：一次只開啟一個工作檔，沒有開啟「%s」。\n", request.jobs[i].c_str());
    for (std::size_t i = 1; i < request.programs.size(); ++i)
        std::fprintf(stderr, "kerfwright：一次只開啟一個切割程式，沒有開啟「%s」。\n", request.programs[i].c_str());
    // Opened once the event loop runs, where memory that runs out in building
    // the designer is said in a message box and the menu stays.
    QTimer::singleShot(0, &menu, [&menu, &request] {
        // The program is checked against the layout that the job designed, if any.
        const QString program = request.programs.empty() ? QString() : QFile::decodeName(request.programs.front().c_str());
        if (!request.jobs.empty())
            menu.openJob(QFile::decodeName(request.jobs.front().c_str()), program);
        else if (!program.isEmpty())
            menu.openProgramFile(program);
    });
    return QApplication::exec();
}

} // namespace kerf::ui
