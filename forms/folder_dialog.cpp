// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/folder_dialog.h"

#include <QFileDialog>

namespace kerf::ui {

namespace {

QString showQtFolderDialog(QWidget* owner, const QString& caption, const QString& start)
{
    return QFileDialog::getExistingDirectory(owner, caption, start);
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
