// SPDX-License-Identifier: GPL-3.0-or-later
#include <malloc.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include <QApplication>
#include <QFile>

#include "about/about_text.h"
#include "windows/main_menu/display_guard.h"
#include "windows/main_menu/main_wafer.h"
#include "windows/main_menu/start_arguments.h"
#include "forms/application.h"
#include "forms/guarded_application.h"

int main(int argc, char* argv[])
{
    using kerf::ui::StartRequest;
    // The arguments are read before the application opens the display: help,
    // the version and a usage error need none.
    const StartRequest request = kerf::ui::readStartArguments(std::vector<std::string>(argv + 1, argv + argc));
    if (request.kind == StartRequest::Kind::Help) {
        std::fputs(kerf::ui::startHelpText(KERF_VERSION).c_str(), stdout);
        return 0;
    }
    if (request.kind == StartRequest::Kind::Version) {
        std::fputs(kerf::aboutText("Kerfwright").c_str(), stdout);
        return 0;
    }
    if (request.kind == StartRequest::Kind::UnknownOption) {
        std::fprintf(stderr, "kerfwright：不認得的選項：%s\n%s", request.unknownOption.c_str(),
                     kerf::ui::startHelpText(KERF_VERSION).c_str());
        return 2;
    }
    // Each design run builds tables of up to a few megabytes and frees the
    // last one: keep freed memory for the next run instead of handing it back
    // to the system and faulting it in again.
    mallopt(M_TRIM_THRESHOLD, 512 << 20);
    std::optional<kerf::ui::DisplayGuard> displayGuard(std::in_place); // no display: said in Chinese, exit 1
    kerf::ui::GuardedApplication application(argc, argv); // takes Qt's own options out of argv
    displayGuard.reset();
    QApplication::setApplicationName(QStringLiteral("Kerfwright"));
    QApplication::setApplicationVersion(QStringLiteral(KERF_VERSION));
    if (!kerf::ui::prepareApplication(application))
        return 1;
    kerf::ui::MainWafer menu;
    menu.show();
    if (!request.jobs.empty())
        menu.openJob(QFile::decodeName(request.jobs.front().c_str()));
    for (std::size_t i = 1; i < request.jobs.size(); ++i)
        std::fprintf(stderr, "kerfwright：一次只開啟一個工作檔，沒有開啟「%s」。\n", request.jobs[i].c_str());
    // Checked against the layout that the job designed, if any.
    if (!request.programs.empty())
        menu.openProgramFile(QFile::decodeName(request.programs.front().c_str()));
    for (std::size_t i = 1; i < request.programs.size(); ++i)
        std::fprintf(stderr, "kerfwright：一次只開啟一個切割程式，沒有開啟「%s」。\n", request.programs[i].c_str());
    return QApplication::exec();
}
