// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QGroupBox>
#include <QPushButton>
#include <QString>

namespace kerf::ui {

class frmHex;
class frmWafer;

/// The main menu, the start-up window: it opens the layout designer and the
/// simulator (one instance each, created on first use, owned by the menu)
/// and ends the program. Closing it closes the windows it owns.
class MainWafer : public QDialog {
    Q_OBJECT
public:
    explicit MainWafer(QWidget* parent = nullptr);

    /// The tool windows, once they have been opened.
    frmWafer* waferWindow() const { return frmWafer_; }
    frmHex* hexWindow() const { return frmHex_; }

    QGroupBox* Frame1 = nullptr;
    QPushButton* cmdfrmWafer = nullptr;
    QPushButton* cmdfrmHex = nullptr;
    QPushButton* cmdExit = nullptr;

    void cmdfrmWafer_Click();
    /// Opens the designer and the program file at `path` in its preview.
    void openProgramFile(const QString& path);
    void cmdfrmHex_Click();
    void cmdExit_Click();
    /// Opens the designer with the job file at `path` (the program's argument),
    /// then the program file `program`, if given, checked against its design.
    void openJob(const QString& path, const QString& program = {});

protected:
    void reject() override;
    void closeEvent(QCloseEvent* event) override;

private:
    frmWafer* frmWafer_ = nullptr;
    frmHex* frmHex_ = nullptr;
};

} // namespace kerf::ui
