// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/box_text.h"

namespace kerf::ui {

QString qtText(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

std::string boxText(const QLineEdit* box) { return box->text().toStdString(); }

std::string boxText(const QComboBox* box) { return box->currentText().toStdString(); }

} // namespace kerf::ui
