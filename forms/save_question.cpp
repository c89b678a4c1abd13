// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/save_question.h"

#include <QMessageBox>
#include <QPushButton>

namespace kerf::ui {

namespace {

SaveAnswer showQtQuestion(QWidget* owner, const std::string& prompt)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Kerfwright"), QString::fromStdString(prompt),
                    QMessageBox::NoButton, owner);
    QPushButton* save = box.addButton(QStringLiteral("儲存(&S)"), QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton(QStringLiteral("不儲存(&N)"), QMessageBox::DestructiveRole);
    QPushButton* cancel = box.addButton(QStringLiteral("取消(&C)"), QMessageBox::RejectRole);
    box.setDefaultButton(save);
    box.setEscapeButton(cancel);
    box.exec();
    return box.clickedButton() == save ? SaveAnswer::Save
           : box.clickedButton() == discard ? SaveAnswer::DontSave
                                            : SaveAnswer::Cancel;
}

SaveQuestionFunction& currentFunction()
{
    static SaveQuestionFunction function = showQtQuestion;
    return function;
}

} // namespace

SaveQuestionFunction setSaveQuestionFunction(SaveQuestionFunction function)
{
    SaveQuestionFunction previous = std::move(currentFunction());
    currentFunction() = function ? std::move(function) : SaveQuestionFunction(showQtQuestion);
    return previous;
}

SaveAnswer askToSaveChanges(QWidget* owner, std::string_view document)
{
    return currentFunction()(owner, "工作檔「" + std::string(document) + "」已變更，要儲存變更嗎？");
}

SaveAnswer askToSaveNewWork(QWidget* owner)
{
    return currentFunction()(owner, std::string(NewWorkQuestion));
}

} // namespace kerf::ui
