// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/open_file_dialog.h"

#include <QFileDialog>

#include "forms/file_dialog_details.h"

namespace kerf::ui {

namespace {

QString showQtOpenDialog(QWidget* owner, const QString& caption, const QString& folder, const QString& filters)
{
    QFileDialog dialog(owner, caption, folder, filters);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    showDetailsInChinese(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

OpenFileFunction& currentFunction()
{
    static OpenFileFunction function = showQtOpenDialog;
    return function;
}

} // namespace

OpenFileFunction setOpenFileFunction(OpenFileFunction function)
{
    OpenFileFunction previous = std::move(currentFunction());
    currentFunction() = function ? std::move(function) : OpenFileFunction(showQtOpenDialog);
    return previous;
}

QString askOpenFileName(QWidget* owner, const QString& caption, const QString& folder, const QString& filters)
{
    return currentFunction()(owner, caption, folder, filters);
}

} // namespace kerf::ui
