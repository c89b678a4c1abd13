// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/refusal_message.h"

#include "forms/message_box.h"

namespace kerf::ui {
namespace {

QLineEdit* boxFor(InputBox box, const RefusalBoxes& boxes)
{
    switch (box) {
    case InputBox::DieSize: return boxes.dieSize;
    case InputBox::FineTune: return boxes.fineTune ? boxes.fineTune : boxes.dieSize;
    case InputBox::EffectiveDiameter: return boxes.effectiveDiameter;
    case InputBox::Flats: return nullptr; // typed in the flats dialog, which names the box
    }
    return boxes.dieSize;
}

} // namespace

void showRefusal(QWidget* window, const Refusal& refusal, const RefusalBoxes& boxes)
{
    showMessage(window, MessageIcon::Exclamation, refusal.title, refusal.prompt);
    if (QLineEdit* box = boxFor(refusal.focus, boxes)) {
        box->setFocus(Qt::OtherFocusReason);
        box->selectAll();
    }
}

} // namespace kerf::ui
