// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QWidget>

#include "forms/message_box.h"
#include "forms/save_question.h"

namespace kerf::testing {

/// One message box that a window showed.
struct ShownMessage {
    QWidget* owner = nullptr;
    ui::MessageIcon icon = ui::MessageIcon::None;
    std::string title;
    std::string prompt;
};

/// The save questions asked while a MessageRecorder lives, and their answer.
struct SaveQuestions {
    ui::SaveAnswer answer = ui::SaveAnswer::DontSave;
    std::vector<std::string> prompts;
};

/// Stands in for the message box while it lives: records every box, and runs
/// `whileShown` (if set) at the moment a box would be on the screen. It
/// answers the save question too (不儲存 unless told otherwise).
class MessageRecorder {
public:
    MessageRecorder()
    {
        previous_ = ui::setMessageBoxFunction(
            [this](QWidget* owner, ui::MessageIcon icon, const std::string& title, const std::string& prompt) {
                shown.push_back({owner, icon, title, prompt});
                if (whileShown)
                    whileShown();
            });
        previousQuestion_ = ui::setSaveQuestionFunction([questions = questions](QWidget*, const std::string& prompt) {
            questions->prompts.push_back(prompt);
            return questions->answer;
        });
    }
    ~MessageRecorder()
    {
        ui::setMessageBoxFunction(std::move(previous_));
        ui::setSaveQuestionFunction(std::move(previousQuestion_));
    }
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    std::vector<ShownMessage> shown;
    std::function<void()> whileShown;
    const std::shared_ptr<SaveQuestions> questions = std::make_shared<SaveQuestions>();

private:
    ui::MessageBoxFunction previous_;
    ui::SaveQuestionFunction previousQuestion_;
};

/// Types into a box as the keyboard would, after giving it the focus.
inline void type(QWidget* box, const QString& keys)
{
    box->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(box, keys);
}

/// Chooses a list item as a user does: the list opens, the item is clicked.
inline void choose(QComboBox* combo, const QString& item)
{
    const int index = combo->findText(item);
    QVERIFY2(index >= 0, qPrintable(item));
    combo->showPopup();
    QAbstractItemView* view = combo->view();
    QVERIFY(QTest::qWaitForWindowExposed(view->window()));
    const QRect rect = view->visualRect(view->model()->index(index, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
    QTRY_VERIFY(!view->isVisible());
}

/// Finds a window's control by its object name.
template <typename Control>
Control* control(QWidget* window, const char* name)
{
    return window->findChild<Control*>(QString::fromLatin1(name));
}

} // namespace kerf::testing
