// SPDX-License-Identifier: GPL-3.0-or-later
#include <malloc.h>

#include <cstdio>
#include <string>
#include <vector>

#include <QApplication>
#include <QFile>

#include "about/about_text.h"
#include "windows/main_menu/main_wafer.h"
#include "windows/main_menu/start_arguments.h"
#include "forms/application.h"
#include "forms/guarded_application.h"

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
