#include "forms/message_box.h"

#include <QFontMetrics>
#include <QMessageBox>
#include <QString>

#include "forms/phrase_wrap.h"

namespace kerf::ui {

std::string MessageText;

namespace {

// Lines of a message box, in ideographs: narrower than the width at which the
// box would wrap its text itself, between any two ideographs.
constexpr int LineIdeographs = 30;

void showQtMessageBox(QWidget* owner, MessageIcon icon, const std::string& title, const std::string& prompt)
{
    QMessageBox box(icon == MessageIcon::Exclamation ? QMessageBox::Warning : QMessageBox::NoIcon,
                    QString::fromStdString(title), QString(), QMessageBox::Ok, owner);
    const QFontMetrics metrics(box.font());
    box.setTextFormat(Qt::PlainText);
    box.setText(wrapAtPhrases(QString::fromStdString(prompt), LineIdeographs * metrics.horizontalAdvance(u'中'),
                              [&](const QString& line) { return metrics.horizontalAdvance(line); }));
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Ok);
    box.exec();
    // The owner takes the keyboard back, also where no window manager hands it back.
    if (owner)
        owner->activateWindow();
}

MessageBoxFunction& currentFunction()
{
    static MessageBoxFunction function = showQtMessageBox;
    return function;
}

} // namespace

MessageBoxFunction setMessageBoxFunction(MessageBoxFunction function)
{
    MessageBoxFunction previous = std::move(currentFunction());
    currentFunction() = function ? std::move(function) : MessageBoxFunction(showQtMessageBox);
    return previous;
}

void showMessage(QWidget* owner, MessageIcon icon, std::string_view title, std::string_view prompt)
{
    MessageText = std::string(prompt);
    currentFunction()(owner, icon, std::string(title), MessageText);
}

} // namespace kerf::ui
