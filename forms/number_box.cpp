// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/number_box.h"

#include <cstring>

#include <QAction>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>

#include "forms/message_box.h"
#include "layout/input_checks.h"

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
    return numericBoxFilter(text) == text;
}

QString numericBoxFilter(const QString& text)
{
    QString kept;
    for (const QChar c : text)
        if (c.unicode() < 128 && c.unicode() != 0 && std::strchr(ValidChars, c.toLatin1()) != nullptr)
            kept += c;
    return kept;
}

namespace {

// Keys that edit through the clipboard or the undo history rather than type;
// their texts are control characters, which the filter would drop.
bool isEditingShortcut(QKeyEvent* event)
{
    for (QKeySequence::StandardKey key : {QKeySequence::SelectAll, QKeySequence::Copy, QKeySequence::Cut,
                                          QKeySequence::Undo, QKeySequence::Redo})
        if (event->matches(key))
            return true;
    return false;
}

} // namespace

NumberBox::NumberBox(QWidget* parent) : QLineEdit(parent)
{
    // An input method would put text in past the key filter.
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setInputMethodHints(Qt::ImhPreferNumbers);
}

bool NumberBox::insertChecked(const QString& text)
{
    if (isReadOnly())
        return false;
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return false;
    const std::string typed = trimmed.toStdString();
    std::optional<std::string> refused;
    if (refusalBox_) {
        if (const auto refusal = refusePastedNumber(typed, *refusalBox_))
            refused = refusal->prompt;
    } else if (numericBoxFilter(trimmed) != trimmed || trimmed.count(u'.') > 1 || trimmed == QStringLiteral(".")) {
        refused = "「" + typed + "」不是這個欄位可以輸入的數值，沒有貼上。";
    }
    if (refused) {
        showMessage(window(), MessageIcon::Exclamation, InputErrorTitle, *refused);
        setFocus(Qt::OtherFocusReason);
        return false;
    }
    insert(trimmed);
    return true;
}

void NumberBox::pasteChecked(QClipboard::Mode mode) { insertChecked(QGuiApplication::clipboard()->text(mode)); }

namespace {

void acceptText(QDragMoveEvent* event, bool readOnly)
{
    if (!readOnly && event->mimeData()->hasText())
        event->acceptProposedAction();
    else
        event->ignore();
}

} // namespace

void NumberBox::dragEnterEvent(QDragEnterEvent* event) { acceptText(event, isReadOnly()); }

void NumberBox::dragMoveEvent(QDragMoveEvent* event) { acceptText(event, isReadOnly()); }

void NumberBox::dropEvent(QDropEvent* event)
{
    // Dropped on the box: it goes in place of the whole text, as a paste over a selection.
    const QString text = event->mimeData()->text();
    event->setDropAction(Qt::CopyAction);
    event->accept();
    setFocus(Qt::OtherFocusReason);
    const QString before = this->text();
    selectAll();
    if (!insertChecked(text))
        setText(before);
}

QMenu* NumberBox::createContextMenu()
{
    // The standard line edit menu, with the standard words in Qt's own
    // translation, built here because its paste would put the clipboard in
    // unfiltered.
    auto* menu = new QMenu(this);
    const auto add = [&](const char* name, const char* text, QKeySequence::StandardKey key, bool enabled,
                         auto slot) {
        const QString shortcut = QKeySequence(key).toString(QKeySequence::NativeText);
        QAction* action = menu->addAction(QCoreApplication::translate("QLineEdit", text)
                                          + (shortcut.isEmpty() ? QString() : u'\t' + shortcut));
        action->setObjectName(QString::fromLatin1(name));
        action->setEnabled(enabled);
        connect(action, &QAction::triggered, this, slot);
    };
    const bool editable = !isReadOnly();
    add("edit-undo", "&Undo", QKeySequence::Undo, editable && isUndoAvailable(), &QLineEdit::undo);
    add("edit-redo", "&Redo", QKeySequence::Redo, editable && isRedoAvailable(), &QLineEdit::redo);
    menu->addSeparator();
    add("edit-cut", "Cu&t", QKeySequence::Cut, editable && hasSelectedText(), &QLineEdit::cut);
    add("edit-copy", "&Copy", QKeySequence::Copy, hasSelectedText(), &QLineEdit::copy);
    add("edit-paste", "&Paste", QKeySequence::Paste,
        editable && !QGuiApplication::clipboard()->text().isEmpty(), [this] { pasteChecked(QClipboard::Clipboard); });
    add("edit-delete", "Delete", QKeySequence::UnknownKey, editable && hasSelectedText(), [this] { del(); });
    menu->addSeparator();
    add("select-all", "Select All", QKeySequence::SelectAll, !text().isEmpty() && selectedText() != text(),
        &QLineEdit::selectAll);
    return menu;
}

void NumberBox::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = createContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void NumberBox::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Paste)) {
        pasteChecked(QClipboard::Clipboard);
        event->accept();
        return;
    }
    if (isEditingShortcut(event)) {
        QLineEdit::keyPressEvent(event);
        return;
    }
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

void NumberBox::mouseReleaseEvent(QMouseEvent* event)
{
    // The middle button pastes the X11 selection: checked too.
    if (event->button() == Qt::MiddleButton && QGuiApplication::clipboard()->supportsSelection()) {
        deselect();
        pasteChecked(QClipboard::Selection);
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

} // namespace kerf::ui
