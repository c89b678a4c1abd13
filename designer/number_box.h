#pragma once

#include <QLineEdit>

namespace kerf::ui {

/// The characters that a numeric box takes, besides backspace.
inline constexpr char ValidChars[] = "0123456789.";

/// True when a key that types `text` reaches a numeric box: a digit, the
/// point, or backspace. Any other character (letters, a minus, control
/// characters such as the paste key) is dropped; keys that type nothing
/// (arrows, Delete, Tab, Enter, Esc) are not filtered.
bool numericBoxTakes(const QString& text);

/// A text box for die sizes, fine-tunes and diameters: only digits, the point
/// and backspace get in by the keyboard (several points are not prevented),
/// and the whole text is selected when the box receives the focus.
class NumberBox : public QLineEdit {
    Q_OBJECT
public:
    explicit NumberBox(QWidget* parent = nullptr);

    /// Takes the focus with the whole text selected, also when the box has
    /// the focus already: after a refusal, ready to be typed over.
    void focusToFix();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    bool selectOnPress_ = false;
};

} // namespace kerf::ui
