// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include <QString>

class QWidget;

namespace kerf::ui {

/// Asks for a folder: the dialog's caption and the folder it opens in.
/// Returns the chosen folder; an empty text when the user cancels. Tests put
/// a function that answers at once in the place of the dialog.
using FolderDialogFunction = std::function<QString(QWidget* owner, const QString& caption, const QString& start)>;

/// Replaces the function that asks for a folder; returns the previous one.
FolderDialogFunction setFolderDialogFunction(FolderDialogFunction function);

/// Asks with the current function.
QString askFolder(QWidget* owner, const QString& caption, const QString& start);

} // namespace kerf::ui
