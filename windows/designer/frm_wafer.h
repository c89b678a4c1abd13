// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <memory>
#include <optional>

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QProgressDialog>
#include <QPushButton>

#include "forms/background/background_job.h"
#include "render/job_sheet.h"
#include "forms/number_box.h"
#include "render/layout_export.h"
#include "forms/wafer_form.h"
#include "die_maps/die_bins.h"
#include "job/job.h"
#include "job/job_file.h"
#include "yield/yield_settings.h"
#include "layout/design_driver.h"
#include "layout/wafer_layout.h"

namespace kerf::ui {

class frmCode;
class frmPreview;
class frmDieSizeChart;
struct ProgramPreview;

/// The layout designer: wafer and die settings, the design run, the wafer
/// map and its results, and the way to the generation window.
class frmWafer : public WaferForm {
    Q_OBJECT
public:
    explicit frmWafer(QWidget* owner);
    ~frmWafer() override;

    /// The layout of the last design run that drew a map; what the
    /// generation window writes a program from.
    const std::optional<WaferLayout>& lastLayout() const { return lastLayout_; }
    /// The generation window, once it has been opened.
    frmCode* codeWindow() const { return frmCode_; }
    /// The cut path preview, once the generation window's preview opened it.
    frmPreview* previewWindow() const { return frmPreview_; }

    // Controls, present while the window is loaded (PIC1 and Combo1 are the WaferForm's).
    QPointer<QGroupBox> Frame1, Frame2, Frame3;
    /// The good dies, shown once yield settings are set: yield, good dies, cost per good die.
    QPointer<QGroupBox> Frame4;
    QPointer<QLineEdit> Text7, Text8, Text9;
    QPointer<QLabel> Label1, Label2, Label3, Label4, Label5, Label6, Label7, Label8, Label9, Label10,
        Label11, Label12, Label13, Label14;
    QPointer<QComboBox> Combo2;
    QPointer<NumberBox> Text1, Text2, Text5;
    QPointer<QLineEdit> Text3, Text4, Text6;
    QPointer<QPushButton> cmdOption, cmdDraw, cmdClear, cmdExit, cmdGenerate;
    /// The picture's context menu: the map as an image, the die centres as CSV.
    QPointer<QMenu> PIC1Menu;
    QPointer<QAction> mnuSaveImage, mnuExportDies, mnuDieSizeChart, mnuOpenProgram, mnuPrintSheet;
    /// 良率設定…, in the picture's menu and the result frames' context menus.
    QPointer<QAction> mnuYieldSettings;
    /// The wafer map for probers and sorters: written (SINF or E142), a binned SINF map read back.
    QPointer<QAction> mnuExportMap, mnuReadMap;
    /// Good, bad and all dies of the binned map read back; hidden without one.
    QPointer<QLabel> lblBins;
    /// The wafer's flats dialog (Ctrl+F anywhere in the window).
    QPointer<QAction> mnuFlats;
    /// The job: open (Ctrl+O), save (Ctrl+S), save as (Ctrl+Shift+S), the recent jobs.
    QPointer<QAction> mnuOpenJob, mnuSaveJob, mnuSaveJobAs;
    QPointer<QMenu> mnuRecentJobs;

    // Event handlers, public so that the window can be driven as a user would.
    void Combo1_Click();
    void Combo1_Change();
    void Combo2_Click();
    void Combo2_Change();
    void cmdDraw_Click();
    void cmdClear_Click();
    void cmdGenerate_Click();
    void cmdOption_Click();
    void cmdExit_Click();
    /// Shows a program in the preview window, creating it on first use.
    void showPreview(const ProgramPreview& preview);
    void mnuSaveImage_Click();
    void mnuExportDies_Click();
    /// Asks for a file and writes the last design's wafer map: E142 XML when
    /// the XML file type is chosen, else SINF.
    void mnuExportMap_Click();
    /// Asks for a binned SINF map of the last design and reads it: the map
    /// fills its bad dies, the results count good and bad dies.
    void mnuReadMap_Click();
    /// Reads the binned SINF map at `path` against the last design; a map
    /// refused is said in a message box and nothing changes. False then.
    bool readMapFile(const QString& path);
    /// What the binned map read back says of the last design's dies.
    const std::optional<DieBins>& bins() const { return bins_; }
    /// Opens the die-size chart around the last design.
    void mnuDieSizeChart_Click();
    /// Opens the 良率設定 dialog; OK sets what it holds.
    void mnuYieldSettings_Click();
    /// The yield boxes' texts, as the dialog's OK sets them: the good dies of
    /// the design are shown (none asked for with an empty density).
    void setYieldTexts(const YieldTexts& texts);
    const YieldTexts& yieldTexts() const { return yieldTexts_; }
    /// The die-size chart, once it has been opened.
    frmDieSizeChart* dieSizeChartWindow() const { return frmDieSizeChart_; }
    /// Opens the flats dialog (window-modal); its OK sets the flats and
    /// designs again when a map is shown.
    void mnuFlats_Click();
    /// The wafer's flats as the dialog left them.
    const FlatTexts& flats() const { return flats_; }
    void setFlats(const FlatTexts& flats);
    /// Asks for a cutting program file and opens it in the preview.
    void mnuOpenProgram_Click();
    /// Opens the program file at `path` in the preview, checked against the
    /// last design; refused when there is none.
    void openProgramFile(const QString& path);
    /// Prints the job sheet of the last design (the print dialog prints to PDF too).
    void mnuPrintSheet_Click();
    /// The job sheet of the last design and of the program the preview shows
    /// (its file, or the program handed to it), else of the program the start
    /// button would write now; what is said instead when there is no design or
    /// the preview's file is no program that can be read.
    std::variant<map::JobSheet, std::string> jobSheet() const;
    /// True while an export is being written.
    bool isExporting() const { return export_.isPending(); }

    void mnuOpenJob_Click();
    void mnuSaveJob_Click();
    void mnuSaveJobAs_Click();
    /// Opens the job file at `path`, after asking about a changed job: reads
    /// it in the background (a FIFO or a device is refused unread; a newer
    /// open cancels it), then fills every box of this window and of the
    /// generation window as if typed (the lists as if chosen), designs, and
    /// opens the program file `program`, if one is given, in the preview. A
    /// file that is not a job is said in a message box and nothing changes.
    /// False when the user kept the changed job (nothing is read).
    bool openJob(const QString& path, const QString& program = {});
    /// True while a job file is being read.
    bool isReadingJob() const { return jobReading_.isPending(); }
    /// Writes the boxes' job to `path`, which becomes the window's job; a
    /// failure is said in a message box. False when nothing was written.
    bool saveJobTo(const QString& path);
    /// The job file the window holds, if any.
    const std::optional<std::filesystem::path>& jobPath() const { return jobPath_; }
    /// The job of the boxes as they stand, the generation window's included.
    Job currentJob() const;
    /// Asks 儲存 / 不儲存 / 取消 when the job's boxes differ from its file, or
    /// when a design is shown that no file holds; false when the user
    /// cancelled or the save failed.
    bool mayCloseJob();

protected:
    void buildControls(QWidget* surface) override;
    void Form_Load() override;
    bool Form_QueryUnload() override;
    void Form_Unload() override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    DesignInput readInputs() const;
    /// The map shows a design: the result boxes are filled.
    bool hasDesign() const;
    /// Says that there is no design to open a program against or to print; false then.
    bool designShown();
    /// The preview window, created on first use.
    frmPreview* madePreview();
    void PIC1_ContextMenu(const QPoint& position);
    QString suggestedPath(const std::string& extension) const;
    void startExport(const std::filesystem::path& path, map::ExportKind kind);
    void exportFinished(const map::ExportOutcome& outcome);
    void closeExportProgress();
    frmCode* generationWindow();
    /// The title names the job, marked while the boxes differ from its file.
    void showJobTitle();
    /// Asks for a file and saves the job there; false when nothing was written.
    bool saveJobAs();
    void fillRecentJobs();
    void rememberJob(const QString& path);
    /// Takes a job file that is gone out of the recent jobs.
    void forgetJob(const QString& path);

    /// A job file read in the background, and the program to open after it.
    struct JobRead {
        std::variant<Job, JobRefusal> job;
        QString path;
        QString program;
    };
    /// A job read: refused in a message box, or into the boxes and designed.
    void jobRead(const JobRead& read);
    void buildGoodDiesFrame(QWidget* surface);
    /// Fills or hides the good dies' frame for the design shown.
    void showGoodDies();

    std::optional<std::filesystem::path> jobPath_;
    Job savedJob_; // the job as its file holds it, every key present

    YieldTexts yieldTexts_;
    /// Draws the last design, its bad dies filled, and shows the bins' counts.
    void drawDesign();

    FlatTexts flats_; // none: the round wafer
    std::optional<WaferLayout> lastLayout_;
    std::optional<DieBins> bins_; // of lastLayout_, read from a map
    frmCode* frmCode_ = nullptr;
    frmPreview* frmPreview_ = nullptr;
    frmDieSizeChart* frmDieSizeChart_ = nullptr;
    BackgroundJob<map::ExportOutcome> export_;
    BackgroundJob<JobRead> jobReading_;
    QPointer<QProgressDialog> exportProgress_;
    QString exportFolder_;  // where the last export went
    QString programFolder_; // where the last program file was opened from
};

} // namespace kerf::ui
