#include "forms/application.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QTranslator>

#include "forms/guarded_application.h"
#include "forms/message_box.h"
#include "render/drawing_failure.h"
#include "render/drawing_threads.h"

namespace kerf::ui {

bool installQtTraditionalChinese(QApplication& application)
{
    auto* translator = new QTranslator(&application);
    if (!translator->load(QStringLiteral("qtbase_zh_TW"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QApplication::installTranslator(translator);
}

bool prepareApplication(QApplication& application)
{
    installQtTraditionalChinese(application);
    QFont font = QApplication::font();
    font.setPointSize(9);
    QApplication::setFont(font);
    try {
        map::prepareDrawingThreads();
    } catch (const map::DrawingFailed& failure) {
        showMessage(nullptr, MessageIcon::Exclamation, DrawingFailedTitle, failure.what());
        return false;
    }
    return true;
}

} // namespace kerf::ui
