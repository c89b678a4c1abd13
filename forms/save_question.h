// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>
#include <string_view>

class QWidget;

namespace kerf::ui {

/// The answers to «save the changed document?»: 儲存, 不儲存, 取消.
enum class SaveAnswer { Save, DontSave, Cancel };

/// Asks whether to save `document` (its name) before it is closed, modal
/// over `owner`. Tests put a function that answers at once in the place of
/// the box.
using SaveQuestionFunction = std::function<SaveAnswer(QWidget* owner, const std::string& prompt)>;

/// Replaces the function that asks; returns the previous one.
SaveQuestionFunction setSaveQuestionFunction(SaveQuestionFunction function);

/// Asks with the current function; Esc and the title bar's close cancel.
SaveAnswer askToSaveChanges(QWidget* owner, std::string_view document);

/// What is asked about work that has never been saved in a file.
inline constexpr std::string_view NewWorkQuestion = "這個設計還沒有儲存成工作檔，要儲存嗎？";

/// Asks the same about work that has no file yet.
SaveAnswer askToSaveNewWork(QWidget* owner);

} // namespace kerf::ui
