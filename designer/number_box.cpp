#include "designer/number_box.h"

#include <cstring>

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>

namespace kerf::ui {

bool numericBoxTakes(const QString& text)
{
    if (text.isEmpty())
        return true; // the key types nothing: a movement or a button key
    if (text.size() != 1)
        return false;
    const QChar c = text.front();
    if (c == QChar(u'\b') || c == QChar(u'\t') || c == QChar(u'\r') || c == QChar(u'\n')
        || c == QChar(0x1b) || c == QChar(0x7f))
        return true; // backspace, and keys that move or press rather than type
    return c.unicode() < 128 && c.unicode() != 0 && std::strchr(ValidChars, c.toLatin1()) != nullptr;
}

NumberBox::NumberBox(QWidget* parent) : QLineEdit(parent)
{
    // An input method would type past the key filter.
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setInputMethodHints(Qt::ImhPreferNumbers);
}

void NumberBox::keyPressEvent(QKeyEvent* event)
{
    if (!numericBoxTakes(event->text())) {
        event->accept(); // dropped
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void NumberBox::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    // The window coming back to the front (or a list closing) is no move
    // into the box: the text keeps its selection as it was.
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason)
        return;
    selectAll();
    // A click that brings the focus would put the cursor at once; keep the selection.
    selectOnPress_ = event->reason() == Qt::MouseFocusReason;
}

void NumberBox::focusToFix()
{
    setFocus(Qt::OtherFocusReason);
    selectAll();
}

void NumberBox::mousePressEvent(QMouseEvent* event)
{
    if (selectOnPress_ && event->button() == Qt::LeftButton) {
        selectOnPress_ = false;
        selectAll();
        event->accept();
        return;
    }
    selectOnPress_ = false;
    QLineEdit::mousePressEvent(event);
}

} // namespace kerf::ui
