// SPDX-License-Identifier: GPL-3.0-or-later
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

} // namespace kerf::ui
