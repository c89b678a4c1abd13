// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

#include <QComboBox>
#include <QLabel>
#include <QPointer>
#include <QWidget>

#include "forms/number_box.h"
#include "yield/yield_settings.h"

namespace kerf::ui {

/// The yield boxes, shared by the designer's yield dialog and the die-size
/// chart: the defect density, the model list, the critical layers n and the
/// clustering α (each enabled only for its model) and the wafer's cost. In a
/// row beside other controls, or one box under the other.
class YieldBoxes : public QWidget {
    Q_OBJECT
public:
    enum class Arrangement { Row, Column };
    YieldBoxes(QWidget* parent, Arrangement arrangement);

    /// The boxes' texts; the model is the chosen item's name ("" for none).
    YieldTexts texts() const;
    /// Fills the boxes as if typed; a model not in the list leaves none chosen.
    void setTexts(const YieldTexts& texts);

    /// The settings the boxes hold, none when the density box is empty (no
    /// yield asked for); false after a refusal, shown in a message box over
    /// `window`, with the focus in the box it names.
    bool read(QWidget* window, std::optional<YieldSettings>& settings);

    QPointer<NumberBox> txtDefects, txtLayers, txtAlpha, txtCost;
    QPointer<QComboBox> cboModel;

signals:
    /// A box or the model changed.
    void changed();

private:
    void cboModel_Click();
};

} // namespace kerf::ui
