// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <initializer_list>
#include <vector>

#include <QPointer>
#include <QPushButton>

namespace kerf::ui {

/// Disables a window's buttons while a run goes on; they are enabled again
/// when the object goes, however the run ends (also when memory runs out).
class ButtonsHeld {
public:
    explicit ButtonsHeld(std::initializer_list<QPushButton*> buttons);
    ~ButtonsHeld();
    ButtonsHeld(const ButtonsHeld&) = delete;
    ButtonsHeld& operator=(const ButtonsHeld&) = delete;

private:
    std::vector<QPointer<QPushButton>> buttons_;
};

} // namespace kerf::ui
