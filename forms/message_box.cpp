// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/message_box.h"

#include <QFontMetrics>
#include <QMessageBox>
#include <QPushButton>
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

bool askQtQuestion(QWidget* owner, const std::string& title, const std::string& prompt)
{
    QMessageBox box(QMessageBox::Question, QString::fromStdString(title), QString(), QMessageBox::NoButton, owner);
    const QFontMetrics metrics(box.font());
    box.setTextFormat(Qt::PlainText);
    box.setText(wrapAtPhrases(QString::fromStdString(prompt), LineIdeographs * metrics.horizontalAdvance(u'中'),
                              [&](const QString& line) { return metrics.horizontalAdvance(line); }));
    QPushButton* yes = box.addButton(QStringLiteral("是(&Y)"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("否(&N)"), QMessageBox::NoRole);
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    box.exec();
    if (owner)
        owner->activateWindow();
    return box.clickedButton() == yes;
}

QuestionFunction& currentQuestion()
{
    static QuestionFunction function = askQtQuestion;
    return function;
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

QuestionFunction setQuestionFunction(QuestionFunction function)
{
    QuestionFunction previous = std::move(currentQuestion());
    currentQuestion() = function ? std::move(function) : QuestionFunction(askQtQuestion);
    return previous;
}

bool askQuestion(QWidget* owner, std::string_view title, std::string_view prompt)
{
    MessageText = std::string(prompt);
    return currentQuestion()(owner, std::string(title), MessageText);
}

} // namespace kerf::ui
