// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include "forms/frame_rows.h"
#include "layout/layout_results.h"

namespace kerf::ui {

/// One row of the result frame: its caption, its read-only box and its unit.
struct ResultRow {
    Named<QLabel> caption;
    Named<QLineEdit> box;
    Named<QLabel> unit;
};

/// Builds the frame "模擬結果值" at `top` twips in the column right of the
/// picture, with its rows top to bottom: total cutting rows, total dies,
/// area utilisation.
void makeResultFrame(QWidget* surface, Named<QGroupBox> frame, int top, const ResultRow& rows,
                     const ResultRow& dies, const ResultRow& utilisation);

/// Writes `results` into the boxes of those rows.
void showResults(const LayoutResults& results, QLineEdit* rows, QLineEdit* dies, QLineEdit* utilisation);

} // namespace kerf::ui
