// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

#include <QClipboard>
#include <QLineEdit>

#include "layout/design_driver.h"

class QMenu;

namespace kerf::ui {

/// The characters that a numeric box takes, besides backspace.
inline constexpr char ValidChars[] = "0123456789.";

/// True when a key that types `text` reaches a numeric box: a digit, the
/// point, or backspace. Any other character (letters, a minus, control
/// characters such as the paste key) is dropped; keys that type nothing
/// (arrows, Delete, Tab, Enter, Esc) are not filtered.
bool numericBoxTakes(const QString& text);

/// The characters of `text` that a numeric box takes, in their order: what
/// typing `text` key by key would put in.
QString numericBoxFilter(const QString& text);

/// A text box for die sizes, fine-tunes and diameters: only digits and the
/// point get in by the keys (several points are not prevented); the
/// clipboard and undo keys (Ctrl+A, C, V, X, Z, Y) and the context menu
/// work. A text pasted or dropped is taken, its blanks trimmed, only when it
/// is a number those characters write; else it is refused whole with a
/// message box that says why, and the box keeps its text. The whole text is
/// selected when the box receives the focus.
class NumberBox : public QLineEdit {
    Q_OBJECT
public:
    explicit NumberBox(QWidget* parent = nullptr);

    /// Takes the focus with the whole text selected, also when the box has
    /// the focus already: after a refusal, ready to be typed over.
    void focusToFix();

    /// The edit menu (undo, redo, cut, copy, paste, delete, select all), its
    /// paste checked; the caller owns it.
    QMenu* createContextMenu();

    /// The box whose refusals a refused paste shows (晶粒尺寸不可為負數 …);
    /// without one, a refusal names the text only.
    void setRefusalBox(InputBox box) { refusalBox_ = box; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    /// Inserts `text`, trimmed, in place of the selection, undoably, when it
    /// is a number the box takes; else shows why not. True when taken.
    bool insertChecked(const QString& text);
    void pasteChecked(QClipboard::Mode mode);

    bool selectOnPress_ = false;
    std::optional<InputBox> refusalBox_;
};

} // namespace kerf::ui
