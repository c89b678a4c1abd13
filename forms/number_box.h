#pragma once

#include <QClipboard>
#include <QLineEdit>

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
/// point get in, typed or pasted (several points are not prevented); the
/// clipboard and undo keys (Ctrl+A, C, V, X, Z, Y) and the context menu
/// work, a paste being filtered as typing is; nothing can be dropped in. The
/// whole text is selected when the box receives the focus.
class NumberBox : public QLineEdit {
    Q_OBJECT
public:
    explicit NumberBox(QWidget* parent = nullptr);

    /// Takes the focus with the whole text selected, also when the box has
    /// the focus already: after a refusal, ready to be typed over.
    void focusToFix();

    /// The edit menu (undo, redo, cut, copy, paste, delete, select all), its
    /// paste filtered; the caller owns it.
    QMenu* createContextMenu();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    /// Inserts the filtered text of the clipboard `mode` in place of the selection, undoably.
    void pasteFiltered(QClipboard::Mode mode);

    bool selectOnPress_ = false;
};

} // namespace kerf::ui
