// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/folder_dialog.h"

#include <QFileDialog>

#include "forms/file_dialog_details.h"

namespace kerf::ui {

namespace {

QString showQtFolderDialog(QWidget* owner, const QString& caption, const QString& start)
{
    QFileDialog dialog(owner, caption, start);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    showDetailsInChinese(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

FolderDialogFunction& currentFunction()
{
    static FolderDialogFunction function = showQtFolderDialog;
    return function;
}

} // namespace

FolderDialogFunction setFolderDialogFunction(FolderDialogFunction function)
{
    FolderDialogFunction previous = std::move(currentFunction());
    currentFunction() = function ? std::move(function) : FolderDialogFunction(showQtFolderDialog);
    return previous;
}

QString askFolder(QWidget* owner, const QString& caption, const QString& start)
{
    return currentFunction()(owner, caption, start);
}

} // namespace kerf::ui
