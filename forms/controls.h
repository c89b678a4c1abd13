// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QString>

#include "forms/twips.h"

namespace kerf::ui {

// Controls placed by twips (left, top, width, height relative to the
// container), each with its object name.

template <typename Control>
Control* place(Control* control, const char* name, int left, int top, int width, int height)
{
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(twipsRect(left, top, width, height));
    return control;
}

QGroupBox* makeFrame(QWidget* parent, const char* name, const QString& caption, int left, int top,
                     int width, int height);
QLabel* makeLabel(QWidget* parent, const char* name, const QString& caption, int left, int top, int width,
                  int height);
QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption, int left, int top,
                        int width, int height);
QLineEdit* makeTextBox(QWidget* parent, const char* name, int left, int top, int width, int height);
/// A box that shows a result: read-only, and passed over by Tab.
QLineEdit* makeResultBox(QWidget* parent, const char* name, int left, int top, int width, int height);
/// A combo box: `editable` for one whose text can be typed, else a drop-down
/// list. No item is selected.
QComboBox* makeComboBox(QWidget* parent, const char* name, bool editable, int left, int top, int width,
                        int height);

} // namespace kerf::ui
