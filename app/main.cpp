#include <malloc.h>

#include <QApplication>
#include <QCommandLineParser>

#include "windows/main_menu/main_wafer.h"
#include "forms/application.h"
#include "forms/guarded_application.h"

int main(int argc, char* argv[])
{
    // Each design run builds tables of up to a few megabytes and frees the
    // last one: keep freed memory for the next run instead of handing it back
    // to the system and faulting it in again.
    mallopt(M_TRIM_THRESHOLD, 512 << 20);
    kerf::ui::GuardedApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kerfwright"));
    QApplication::setApplicationVersion(QStringLiteral(KERF_VERSION));
    QCommandLineParser arguments;
    arguments.addHelpOption();
    arguments.addVersionOption(); // --version: prints the version and ends
    arguments.process(application);
    kerf::ui::prepareApplication(application);
    kerf::ui::MainWafer menu;
    menu.show();
    return QApplication::exec();
}
