// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <variant>

#include <vector>

#include <QDialog>
#include <QFileSystemWatcher>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QTimer>

#include "layout/wafer_layout.h"
#include "program/check/cut_check.h"
#include "program/check/report/cut_report_figures.h"
#include "program/reader/program_file.h"
#include "program/reader/program_reader.h"
#include "forms/background/background_job.h"
#include "render/cut_path_picture.h"
#include "windows/preview/cut_path_view.h"
#include "windows/preview/frm_compare.h"

namespace kerf::ui {

/// The cut path preview: a program drawn over the map of its layout, walked
/// step by step in machine order, with the check of what it cuts beside it.
/// Modeless; the designer owns one. Reading, checking and drawing run in
/// worker threads (a progress bar shows while they take long); closing the
/// window cancels them.
class frmPreview : public QDialog {
    Q_OBJECT
public:
    explicit frmPreview(QWidget* owner);
    ~frmPreview() override;

    /// Shows the window with the program `text` over the map of `layout`,
    /// replacing what it showed. The picture and the report come when the
    /// workers are done; a text that is no program is reported as such.
    void showProgram(const WaferLayout& layout, std::string text);
    /// Shows the program file at `path` over the map of `layout`, titled with
    /// the file's name, its path and size above the report. The file is
    /// watched: when it changes it is read and checked again, keeping the
    /// view; when it disappears that is said and the last picture stays.
    void showProgramFile(const WaferLayout& layout, const QString& path);
    /// The program file shown, empty while the program is one handed over as text.
    const QString& programPath() const { return programPath_; }
    /// The program file as last read, while one is shown.
    const std::optional<ProgramFile>& programFile() const { return file_; }
    /// The program handed over as text, while it is shown.
    const std::shared_ptr<const std::string>& programText() const { return programText_; }

    /// Keeps the window usable while `window`, shown modally, blocks the
    /// others: it stays in front of `window` until that window hides.
    void stayUsableOver(QWidget* window);

    /// True while the program is being read, checked or drawn.
    bool isWorking() const;
    /// The report of the last finished check, if any.
    const std::optional<CutReport>& report() const { return report_; }
    /// The steps of the path drawn, once it is drawn.
    const map::CutPathSteps* steps() const { return layers_ ? &layers_->steps : nullptr; }

    // Controls.
    QPointer<CutPathView> picture;
    QPointer<QSlider> stepSlider;
    QPointer<QPushButton> cmdPlay, cmdFit, cmdClose, cmdPrint;
    /// Asks for another program file and compares the one shown with it.
    QPointer<QPushButton> cmdCompare;
    /// The comparison window, once opened.
    QPointer<frmCompare> compareWindow;
    QPointer<QLabel> stepLabel, verdictLabel, progressLabel;
    /// The program file's path and size, and what became of the file.
    QPointer<QLabel> fileLabel;
    QPointer<QProgressBar> progressBar;
    QPointer<QGroupBox> reportFrame;
    /// The report's figures, a row each in reportFigures' order: labels and
    /// values (named after the figure's key: "cutsValue").
    std::vector<QPointer<QLabel>> figureLabels, figureValues;
    QPointer<QPlainTextEdit> faultList;

    void cmdPlay_Click();
    void cmdFit_Click();
    void cmdCompare_Click();
    void stepSlider_Change(int value);

signals:
    /// The print button asks for the job sheet of what is shown.
    void printRequested();

public slots:
    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct ReadResult {
        std::shared_ptr<const Program> program;
        std::optional<ReportText> refusal; // the text is no program, or too large to run
        std::optional<ProgramFile> file;   // the file read, when a file was asked for
    };
    using Reading = std::function<std::optional<ReadResult>(const BackgroundJob<ReadResult>::Progress&)>;

    void buildControls();
    void startReading(const WaferLayout& layout, Reading reading);
    void unwatchProgramFile();
    void programFileChanged(bool fileItself);
    void rereadProgramFile();
    void showFileState(const QString& state, bool fault);
    void stopWork();
    void programRead(ReadResult result);
    void checkDone(CutReport report);
    void drawingDone(map::CutPathLayers layers);
    void drawingFailed(const std::string& failure);
    void requestDrawing();
    void showOverlay();
    void showReport(const ReportText& text);
    void showFailure(const std::string& failure);
    void clearReport(const QString& verdict);
    void updateProgress();
    void playTick();

    std::shared_ptr<const WaferLayout> layout_;
    std::shared_ptr<const Program> program_;
    std::optional<CutReport> report_;
    std::optional<map::CutPathLayers> layers_;

    BackgroundJob<ReadResult> reading_;
    BackgroundJob<CutReport> checking_;
    BackgroundJob<map::CutPathLayers> drawing_;
    QTimer drawDelay_;     // gathers a burst of wheel turns into one drawing
    QTimer progressDelay_; // the progress bar shows only for work that takes a while
    QTimer playTimer_;
    QPointer<QWidget> blockingWindow_;
    QString programPath_;
    std::shared_ptr<const std::string> programText_; // the program handed over as text
    std::optional<ProgramFile> file_;
    QFileSystemWatcher fileWatcher_;
    QTimer rereadDelay_; // an editor's save is a burst of changes, or a rename
    bool fileTouched_ = false;
};

} // namespace kerf::ui
