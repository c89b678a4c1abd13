#include <QApplication>

#include "app/main_wafer.h"
#include "designer/application.h"

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kerfwright"));
    kerf::ui::prepareApplication(application);
    kerf::ui::MainWafer menu;
    menu.show();
    return QApplication::exec();
}
