// SPDX-License-Identifier: GPL-3.0-or-later
#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include <QApplication>
#include <QFile>
#include <QTimer>

#include "about/about_text.h"
#include "windows/main_menu/main_wafer.h"
#include "windows/main_menu/start_arguments.h"
#include "forms/application.h"
#include "forms/guarded_application.h"
#include "render/drawing_failure.h"

namespace {

// Qt gives up where it cannot go on (no display, no memory for its platform
// plugin): the program's words and status 1 rather than Qt's abort.
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

int main(int argc, char* argv[])
{
    using kerf::ui::StartRequest;
    // --help and --version need no display: answered before the application starts.
    const StartRequest asked = kerf::ui::readStartArguments(std::vector<std::string>(argv + 1, argv + argc));
    if (asked.kind == StartRequest::Kind::Help) {
        std::fputs(kerf::ui::startHelpText(KERF_VERSION).c_str(), stdout);
        return 0;
    }
    if (asked.kind == StartRequest::Kind::Version) {
        std::fputs(kerf::aboutText("Kerfwright").c_str(), stdout);
        return 0;
    }
    // Each design run builds tables of up to a few megabytes and frees the
    // last one: keep freed memory for the next run instead of handing it back
    // to the system and faulting it in again.
    mallopt(M_TRIM_THRESHOLD, 512 << 20);
    endOnQtFatal();
    try {
        kerf::map::requireDrawingRoom(kerf::map::DesktopStartRoom);
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "kerfwright：記憶體不足，無法啟動：可用的記憶體不到 %lld MB。\n",
                     static_cast<long long>(kerf::map::DesktopStartRoom >> 20));
        return 1;
    }
    kerf::ui::GuardedApplication application(argc, argv); // takes Qt's own options out of argv
    const StartRequest request = kerf::ui::readStartArguments(std::vector<std::string>(argv + 1, argv + argc));
    if (request.kind == StartRequest::Kind::UnknownOption) {
        std::fprintf(stderr, "kerfwright：不認得的選項：%s\n%s", request.unknownOption.c_str(),
                     kerf::ui::startHelpText(KERF_VERSION).c_str());
        return 2;
    }
    QApplication::setApplicationName(QStringLiteral("Kerfwright"));
    QApplication::setApplicationVersion(QStringLiteral(KERF_VERSION));
    if (!kerf::ui::prepareApplication(application))
        return 1;
    kerf::ui::MainWafer menu;
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
