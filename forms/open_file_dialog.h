// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include <QString>

class QWidget;

namespace kerf::ui {

/// Asks for a file to open: the dialog's caption, the folder it starts in
/// and the filters. Returns the chosen path, empty when the user cancels.
/// Tests put a function that answers at once in the place of the dialog.
using OpenFileFunction =
    std::function<QString(QWidget* owner, const QString& caption, const QString& folder, const QString& filters)>;

/// Replaces the function that asks for a file to open; returns the previous one.
OpenFileFunction setOpenFileFunction(OpenFileFunction function);

/// Asks with the current function.
QString askOpenFileName(QWidget* owner, const QString& caption, const QString& folder, const QString& filters);

} // namespace kerf::ui
