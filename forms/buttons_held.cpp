// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/buttons_held.h"

namespace kerf::ui {

ButtonsHeld::ButtonsHeld(std::initializer_list<QPushButton*> buttons) : buttons_(buttons.begin(), buttons.end())
{
    for (QPushButton* button : buttons)
        button->setEnabled(false);
}

ButtonsHeld::~ButtonsHeld()
{
    for (const QPointer<QPushButton>& button : buttons_)
        if (button)
            button->setEnabled(true);
}

} // namespace kerf::ui
