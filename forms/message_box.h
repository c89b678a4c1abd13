// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>
#include <string_view>

class QWidget;

namespace kerf::ui {

enum class MessageIcon { None, Exclamation };

/// The text of the message box being shown; every window puts its prompt
/// here before showing it.
extern std::string MessageText;

/// Shows an OK message box, modal over `owner`. Tests put a recorder in the
/// place of the real box.
using MessageBoxFunction =
    std::function<void(QWidget* owner, MessageIcon icon, const std::string& title, const std::string& prompt)>;

/// Replaces the function that shows message boxes; returns the previous one.
MessageBoxFunction setMessageBoxFunction(MessageBoxFunction function);

/// Copies `prompt` into MessageText and shows it with `title` and `icon`.
void showMessage(QWidget* owner, MessageIcon icon, std::string_view title, std::string_view prompt);

/// Asks a yes-or-no question, modal over `owner`; true for yes. Tests put
/// their answer in the place of the real box.
using QuestionFunction = std::function<bool(QWidget* owner, const std::string& title, const std::string& prompt)>;

/// Replaces the function that asks questions; returns the previous one.
QuestionFunction setQuestionFunction(QuestionFunction function);

/// Copies `prompt` into MessageText and asks it with `title`; No is the default.
bool askQuestion(QWidget* owner, std::string_view title, std::string_view prompt);

} // namespace kerf::ui
