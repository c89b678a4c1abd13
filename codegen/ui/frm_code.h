#pragma once

#include <optional>
#include <string>

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

#include "codegen/generation_refusal.h"
#include "designer/form.h"
#include "layout/wafer_layout.h"

namespace kerf::ui {

/// The generation window: the program's name and the machine parameters of
/// one run; its start button writes the program of the designer's layout.
/// Shown modally by the designer, which owns it.
class frmCode : public Form {
    Q_OBJECT
public:
    explicit frmCode(QWidget* owner);

    /// Shows the window for the designer's last layout, loading it first if
    /// it is not loaded. The program is written from that layout.
    void showFor(const WaferLayout& layout);

    /// The folder that programs are written to: the executable's.
    static std::string outputFolder();

    // Controls, present while the window is loaded.
    QPointer<QGroupBox> Frame1;
    QPointer<QLabel> Label1, Label2, Label3, Label4, Label5, Label6;
    QPointer<QLineEdit> Text1, Text2, Text3, Text4, Text5, Text6;
    QPointer<QPushButton> cmdStart, cmdExit;

    void cmdStart_Click();
    void cmdExit_Click();

protected:
    void buildControls(QWidget* surface) override;
    void Form_Load() override;

private:
    void focusBox(GenerationBox box);

    std::optional<WaferLayout> layout_;
};

} // namespace kerf::ui
