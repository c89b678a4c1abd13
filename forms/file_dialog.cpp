// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/file_dialog.h"

#include <QFileDialog>

#include "forms/file_dialog_details.h"

namespace kerf::ui {

namespace {

QString showQtSaveDialog(QWidget* owner, const QString& caption, const QString& suggested, const QString& filters,
                         QString* chosenFilter)
{
    // Asks before replacing a file of the chosen name.
    QFileDialog dialog(owner, caption, suggested, filters);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    showDetailsInChinese(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    if (chosenFilter)
        *chosenFilter = dialog.selectedNameFilter();
    return dialog.selectedFiles().constFirst();
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
