// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/application.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "forms/guarded_application.h"
#include "forms/message_box.h"
#include "render/drawing_failure.h"
#include "render/drawing_threads.h"

namespace kerf::ui {

namespace {

// The file dialog's type column, whose words Qt 6 moved to a context its
// Traditional Chinese translation does not have yet.
class FileTypeWords : public QTranslator {
public:
    using QTranslator::QTranslator;
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* source, const char* disambiguation, int n) const override
    {
        Q_UNUSED(disambiguation);
        Q_UNUSED(n);
        if (qstrcmp(context, "QAbstractFileIconProvider") != 0)
            return {};
        static const std::pair<const char*, const char*> words[] = {
            {"Folder", "資料夾"}, {"File", "檔案"}, {"Drive", "磁碟機"}, {"%1 File", "%1 檔案"},
            {"File Folder", "資料夾"}, {"Alias", "別名"}, {"Shortcut", "捷徑"}, {"Unknown", "未知"}};
        for (const auto& [english, chinese] : words)
            if (qstrcmp(source, english) == 0)
                return QString::fromUtf8(chinese);
        return {};
    }
};

} // namespace

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
    // Dates, numbers and Qt's own dialogs as on a Traditional Chinese desktop.
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::TraditionalHanScript, QLocale::Taiwan));
    QApplication::installTranslator(new FileTypeWords(&application));
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
