// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLineEdit>

#include "layout/design_driver.h"

namespace kerf::ui {

/// The boxes that a window's refusals send the focus to. A window without a
/// fine-tune box leaves it null: the die size box stands in for it.
struct RefusalBoxes {
    QLineEdit* dieSize = nullptr;
    QLineEdit* fineTune = nullptr;
    QLineEdit* effectiveDiameter = nullptr;
};

/// Shows `refusal`'s message over `window`, then gives the box it names the
/// focus with its whole text selected, ready to be typed over.
void showRefusal(QWidget* window, const Refusal& refusal, const RefusalBoxes& boxes);

} // namespace kerf::ui
