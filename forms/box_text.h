// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include <QComboBox>
#include <QLineEdit>
#include <QString>

namespace kerf::ui {

// The core speaks UTF-8 strings, the controls QString: the boxes' texts
// between the two.

/// `text` (UTF-8) for a control.
QString qtText(std::string_view text);
/// What a box holds, as UTF-8.
std::string boxText(const QLineEdit* box);
/// What a combo box shows (typed or chosen), as UTF-8.
std::string boxText(const QComboBox* box);

} // namespace kerf::ui
