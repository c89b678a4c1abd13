// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

#include "program/writer/generation_driver.h"
#include "program/writer/generation_refusal.h"
#include "files/program_folder.h"
#include "forms/form.h"
#include "layout/wafer_layout.h"

namespace kerf::ui {

/// What the preview button hands on: the program that the start button would
/// write, and the layout it is written from.
struct ProgramPreview {
    WaferLayout layout;
    std::string text;
};

/// The generation window: the program's name and the machine parameters of
/// one run; its start button writes the program of the designer's layout.
/// Its preview button builds the same program without writing it and asks
/// for it to be shown. Shown modally by the designer, which owns it.
class frmCode : public Form {
    Q_OBJECT
public:
    explicit frmCode(QWidget* owner);

    /// Shows the window for the designer's last layout, loading it first if
    /// it is not loaded. The program is written from that layout. `note`
    /// says which layout that is when the designer's boxes say otherwise:
    /// the window shows it, and the start button asks before writing.
    void showFor(const WaferLayout& layout, std::optional<std::string> note = std::nullopt);

    /// The folder of the executable when it runs from the folder it was built
    /// into, where programs go when it can be written; empty for an installed
    /// copy, which writes into the preset, remembered or asked folder.
    static std::string outputFolder();

    /// The boxes' texts: as they stand while the window is loaded, else as
    /// they were left (the start values until then).
    const GenerationTexts& texts() const { return texts_; }
    /// Puts `texts` into the boxes as if typed, now or when the window next loads.
    void setTexts(const GenerationTexts& texts);

    /// Takes `folder` for the executable's folder (tests: one that cannot be written).
    void setExecutableFolder(std::filesystem::path folder) { executableFolder_ = std::move(folder); }

    // Controls, present while the window is loaded.
    QPointer<QGroupBox> Frame1;
    QPointer<QLabel> Label1, Label2, Label3, Label4, Label5, Label6;
    QPointer<QLineEdit> Text1, Text2, Text3, Text4, Text5, Text6;
    QPointer<QPushButton> cmdStart, cmdPreview, cmdExit;
    /// Which layout is written, while the designer's boxes say otherwise.
    QPointer<QLabel> lblLayout;
    /// The window's context menu: the folder that programs go into.
    QPointer<QAction> mnuProgramFolder;

    void cmdStart_Click();
    /// Asks for the folder to remember for programs and says where they go now.
    void mnuProgramFolder_Click();
    void cmdPreview_Click();
    void cmdExit_Click();

signals:
    /// The preview button built a program; nothing was written.
    void previewRequested(const kerf::ui::ProgramPreview& preview);
    /// A box's text changed.
    void textsChanged();

protected:
    void buildControls(QWidget* surface) override;
    void Form_Load() override;

private:
    GenerationRequest readRequest() const;
    /// Shows a refusal or a failure as the start button does; false for a finished run.
    bool showFault(const GenerationOutcome& outcome);
    void focusBox(GenerationBox box);
    /// The folder the start button writes into, asking the user for one the
    /// first time neither the preset, the executable's nor a remembered
    /// folder will do; nothing when the user cancels or picks a folder that
    /// cannot be written (which is said in a message box).
    std::optional<std::filesystem::path> programFolder();
    /// Asks for a folder that can be written, remembers it and returns it;
    /// nothing when cancelled or not writable (said in a message box).
    std::optional<std::filesystem::path> chooseProgramFolder(const std::filesystem::path& start);
    ProgramFolderSources folderSources() const;

    void showTexts();
    /// Shows the layout's note below the buttons, the window as high as it needs.
    void showLayoutNote();

    std::optional<WaferLayout> layout_;
    std::optional<std::string> layoutNote_;
    GenerationTexts texts_;
    std::filesystem::path executableFolder_ = outputFolder();
};

} // namespace kerf::ui
