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

/// Asks for a file to open: the dialog's caption, the folder to start in and
/// the filters; an empty path when the user cancels. Tests put a function
/// that answers at once in the place of the dialog.
using OpenFileFunction =
    std::function<QString(QWidget* owner, const QString& caption, const QString& folder, const QString& filters)>;

/// Replaces the function that asks for a file to open; returns the previous one.
OpenFileFunction setOpenFileFunction(OpenFileFunction function);

/// Asks with the current function.
QString askOpenFileName(QWidget* owner, const QString& caption, const QString& folder, const QString& filters);

} // namespace kerf::ui
