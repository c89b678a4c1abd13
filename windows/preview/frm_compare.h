// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QDateTime>
#include <QDialog>
#include <QFileSystemWatcher>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include "forms/background/background_job.h"
#include "layout/wafer_layout.h"
#include "program/compare/program_comparison.h"
#include "program/reader/program_reader.h"
#include "windows/preview/cut_path_view.h"

namespace kerf::ui {

/// A program held for the comparison: its name, its text (for showing its
/// lines) and its file, when it came from one.
struct ComparedProgram {
    QString name;
    QString path; // empty for a program handed over as text
    std::shared_ptr<const std::string> text;
};

/// The comparison of two programs (A, the preview's, and B, another file)
/// on the map of their layout: dies that B cuts less or more than A in their
/// colours, B's own stray cuts marked, and the list of the differing dies; a
/// click on one shows it and the lines of both programs that cut it. Either
/// file is read and compared again when it changes. Modeless; the preview
/// owns one. The work runs in the background pool.
class frmCompare : public QDialog {
    Q_OBJECT
public:
    explicit frmCompare(QWidget* owner);
    ~frmCompare() override;

    /// Compares `a` with `b` (a file) on `layout` and shows the window.
    void compare(const WaferLayout& layout, ComparedProgram a, const QString& pathB);

    /// True while the programs are being compared or a die's lines looked for.
    bool isWorking() const;
    /// The last finished comparison, if any.
    const std::optional<ProgramComparison>& comparison() const { return comparison_; }
    /// What a job sheet of A says of the comparison shown («與 B.TXT 相同»);
    /// empty while none is shown.
    std::string comparedWith() const;

    // Controls.
    QPointer<CutPathView> picture;
    QPointer<QLabel> namesLabel, verdictLabel, summaryLabel, legendLabel;
    /// The first differing dies, a row each, in row order.
    QPointer<QListWidget> differingList;
    /// The die picked and the lines of A and of B that cut it.
    QPointer<QPlainTextEdit> dieLines;
    QPointer<QPushButton> cmdFit, cmdClose;

    void differingList_Click(int row);

public slots:
    void done(int result) override;

private:
    struct Compared {
        ProgramComparison comparison;
        std::shared_ptr<const Program> a, b;
        std::shared_ptr<const std::string> textA, textB;
        std::string refusal; // why either program could not be read
    };

    void buildControls();
    void startComparison();
    void comparisonDone(Compared compared);
    void showFailure(const QString& failure);
    void showOverlay();
    void fileChanged();

    std::shared_ptr<const WaferLayout> layout_;
    ComparedProgram a_, b_;
    std::shared_ptr<const Program> programA_, programB_;
    std::optional<ProgramComparison> comparison_;
    std::vector<DifferingDie> listed_;
    std::optional<ProgramPoint> picked_;
    BackgroundJob<Compared> comparing_;
    BackgroundJob<QString> lookingUp_;
    QFileSystemWatcher watcher_;
    QTimer rereadDelay_; // an editor's save is a burst of changes
    QDateTime modified_[2]; // the files' times when last compared
};

} // namespace kerf::ui
