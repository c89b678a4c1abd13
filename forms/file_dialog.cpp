#include "forms/file_dialog.h"

#include <QFileDialog>

namespace kerf::ui {

namespace {

QString showQtSaveDialog(QWidget* owner, const QString& caption, const QString& suggested, const QString& filters,
                         QString* chosenFilter)
{
    // Asks before replacing a file of the chosen name.
    return QFileDialog::getSaveFileName(owner, caption, suggested, filters, chosenFilter);
}

SaveFileFunction& currentFunction()
{
    static SaveFileFunction function = showQtSaveDialog;
    return function;
}

QString showQtOpenDialog(QWidget* owner, const QString& caption, const QString& folder, const QString& filters)
{
    return QFileDialog::getOpenFileName(owner, caption, folder, filters);
}

OpenFileFunction& currentOpenFunction()
{
    static OpenFileFunction function = showQtOpenDialog;
    return function;
}

} // namespace

SaveFileFunction setSaveFileFunction(SaveFileFunction function)
{
    SaveFileFunction previous = std::move(currentFunction());
    currentFunction() = function ? std::move(function) : SaveFileFunction(showQtSaveDialog);
    return previous;
}

QString askSaveFileName(QWidget* owner, const QString& caption, const QString& suggested, const QString& filters,
                        QString* chosenFilter)
{
    return currentFunction()(owner, caption, suggested, filters, chosenFilter);
}

OpenFileFunction setOpenFileFunction(OpenFileFunction function)
{
    OpenFileFunction previous = std::move(currentOpenFunction());
    currentOpenFunction() = function ? std::move(function) : OpenFileFunction(showQtOpenDialog);
    return previous;
}

QString askOpenFileName(QWidget* owner, const QString& caption, const QString& folder, const QString& filters)
{
    return currentOpenFunction()(owner, caption, folder, filters);
}

} // namespace kerf::ui
