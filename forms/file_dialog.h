// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include <QString>

class QWidget;

namespace kerf::ui {

/// Asks where to save a file: the dialog's caption, the suggested path and
/// the filters («PNG 圖片 (*.png);;SVG 圖片 (*.svg)»). Returns the chosen path
/// and sets `chosenFilter` to the filter chosen; an empty path when the user
/// cancels. Tests put a function that answers at once in the place of the
/// dialog.
using SaveFileFunction = std::function<QString(QWidget* owner, const QString& caption, const QString& suggested,
                                               const QString& filters, QString* chosenFilter)>;

/// Replaces the function that asks for a file to save; returns the previous one.
SaveFileFunction setSaveFileFunction(SaveFileFunction function);

/// Asks with the current function.
QString askSaveFileName(QWidget* owner, const QString& caption, const QString& suggested, const QString& filters,
                        QString* chosenFilter = nullptr);

} // namespace kerf::ui
