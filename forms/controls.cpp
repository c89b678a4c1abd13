// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/controls.h"

#include <QPalette>

namespace kerf::ui {

QGroupBox* makeFrame(QWidget* parent, const char* name, const QString& caption, int left, int top,
                     int width, int height)
{
    return place(new QGroupBox(caption, parent), name, left, top, width, height);
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& caption, int left, int top, int width,
                  int height)
{
    auto* label = place(new QLabel(caption, parent), name, left, top, width, height);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // A caption is never cut: where the system font is wider than the box
    // was made for, the label grows to the right.
    const int needed = label->fontMetrics().horizontalAdvance(caption) + 2;
    if (needed > label->width())
        label->resize(needed, label->height());
    return label;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption, int left, int top,
                        int width, int height)
{
    return place(new QPushButton(caption, parent), name, left, top, width, height);
}

QLineEdit* makeTextBox(QWidget* parent, const char* name, int left, int top, int width, int height)
{
    return place(new QLineEdit(parent), name, left, top, width, height);
}

QLineEdit* makeResultBox(QWidget* parent, const char* name, int left, int top, int width, int height)
{
    auto* box = makeTextBox(parent, name, left, top, width, height);
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::ClickFocus);
    // A result box that is disabled still shows its figure as clearly as the others.
    QPalette palette = box->palette();
    palette.setColor(QPalette::Disabled, QPalette::Text, palette.color(QPalette::Active, QPalette::Text));
    box->setPalette(palette);
    return box;
}

QComboBox* makeComboBox(QWidget* parent, const char* name, bool editable, int left, int top, int width,
                        int height)
{
    auto* combo = place(new QComboBox(parent), name, left, top, width, height);
    combo->setEditable(editable);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setCurrentIndex(-1);
    return combo;
}

} // namespace kerf::ui
