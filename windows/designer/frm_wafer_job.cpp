// SPDX-License-Identifier: GPL-3.0-or-later
// The designer's job: opened, saved, remembered, named in the title, asked
// about on close; and the files dropped on the window.
#include "windows/designer/frm_wafer.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QSettings>
#include <QTimer>
#include <QUrl>

#include "windows/generation/frm_code.h"
#include "forms/box_text.h"
#include "forms/file_dialog.h"
#include "forms/message_box.h"
#include "forms/open_file_dialog.h"
#include "forms/save_question.h"
#include "job/recent_jobs.h"

namespace kerf::ui {

namespace {

// The recent jobs last across runs.
constexpr auto RecentJobsKey = "recentJobs";
const QString JobFilter = QStringLiteral("Kerfwright 工作檔 (*.kwjob)");

QSettings settings() { return QSettings(QStringLiteral("Kerfwright"), QStringLiteral("Kerfwright")); }

std::filesystem::path filePath(const QString& path) { return QFile::encodeName(path).toStdString(); }
QString pathText(const std::filesystem::path& path) { return QFile::decodeName(path.c_str()); }

} // namespace

Job frmWafer::currentJob() const
{
    Job job = jobOf(readInputs().texts, frmCode_ ? frmCode_->texts() : GenerationTexts{}, flats_);
    job.yield = jobYieldOf(yieldTexts_);
    return job;
}

void frmWafer::showJobTitle()
{
    if (!isLoaded())
        return;
    if (!jobPath_) {
        setWindowTitle(QStringLiteral("Kerfwright"));
        return;
    }
    setWindowTitle(pathText(jobPath_->filename()) + QStringLiteral("[*] – Kerfwright"));
    setWindowModified(currentJob() != savedJob_);
}

bool frmWafer::mayCloseJob()
{
    if (!isLoaded())
        return true;
    // A design drawn from boxes that no file holds is work too.
    const bool unsaved = jobPath_ ? currentJob() != savedJob_ : hasDesign();
    if (!unsaved)
        return true;
    switch (jobPath_ ? askToSaveChanges(this, jobPath_->filename().string()) : askToSaveNewWork(this)) {
    case SaveAnswer::Save: return jobPath_ ? saveJobTo(pathText(*jobPath_)) : saveJobAs();
    case SaveAnswer::DontSave: return true;
    case SaveAnswer::Cancel: break;
    }
    return false;
}

bool frmWafer::openJob(const QString& path, const QString& program)
{
    if (!mayCloseJob())
        return false;
    jobReading_.start([path, program](const BackgroundJob<JobRead>::Progress&) {
        return std::optional(JobRead{readJob(filePath(path), JobSource::RegularFileOnly), path, program});
    });
    return true;
}

void frmWafer::jobRead(const JobRead& read)
{
    if (const auto* refusal = std::get_if<JobRefusal>(&read.job)) {
        showMessage(this, MessageIcon::Exclamation, refusal->title, refusal->prompt);
        if (!QFileInfo::exists(read.path)) // no longer a recent job
            forgetJob(QFileInfo(read.path).absoluteFilePath());
        return;
    }
    const Job job = completedJob(std::get<Job>(read.job));
    const JobDesigner& boxes = job.designer;
    cmdClear_Click();
    // The lists as if chosen, the boxes as if typed; no size chosen leaves no diameter.
    if (const int size = Combo1->findText(qtText(*boxes.wafer)); size >= 0) {
        Combo1->setCurrentIndex(size);
        Combo1_Click();
    } else {
        WaferDiameter = WaferRadius = 0;
    }
    Text5->setText(qtText(*boxes.effective));
    if (const int shape = Combo2->findText(qtText(*boxes.shape)); shape >= 0)
        Combo2->setCurrentIndex(shape);
    else
        Combo2->setEditText(qtText(*boxes.shape));
    Combo2_Click();
    Text1->setText(qtText(*boxes.die));
    Text2->setText(qtText(*boxes.gap));
    flats_ = flatTextsOf(job.flats);
    Text6->clear();
    generationWindow()->setTexts(generationTextsOf(job.program));
    yieldTexts_ = yieldTextsOf(job.yield);
    jobPath_ = filePath(QFileInfo(read.path).absoluteFilePath());
    savedJob_ = job;
    savedJob_.yield = jobYieldOf(yieldTexts_); // as the boxes give it back
    rememberJob(pathText(*jobPath_));
    showJobTitle();
    cmdDraw_Click();
    // Checked against the layout the job designed.
    if (!read.program.isEmpty())
        openProgramFile(read.program);
}

bool frmWafer::saveJobTo(const QString& path)
{
    const Job job = currentJob();
    if (const auto refusal = writeJob(filePath(path), job)) {
        showMessage(this, MessageIcon::Exclamation, refusal->title, refusal->prompt);
        return false;
    }
    jobPath_ = filePath(QFileInfo(path).absoluteFilePath());
    savedJob_ = job;
    rememberJob(pathText(*jobPath_));
    showJobTitle();
    return true;
}

void frmWafer::mnuOpenJob_Click()
{
    const QString folder = jobPath_ ? pathText(jobPath_->parent_path()) : QDir::homePath();
    const QString chosen = askOpenFileName(this, QStringLiteral("開啟工作檔"), folder, JobFilter);
    if (!chosen.isEmpty())
        openJob(chosen);
}

void frmWafer::mnuSaveJob_Click()
{
    if (jobPath_)
        saveJobTo(pathText(*jobPath_));
    else
        mnuSaveJobAs_Click();
}

void frmWafer::mnuSaveJobAs_Click() { saveJobAs(); }

bool frmWafer::saveJobAs()
{
    const std::string name = frmCode_ && !frmCode_->texts().name.empty() ? frmCode_->texts().name : "工作";
    const QString suggested = jobPath_ ? pathText(*jobPath_)
                                       : QDir(QDir::homePath()).filePath(qtText(name + std::string(JobExtension)));
    QString chosen = askSaveFileName(this, QStringLiteral("另存工作檔"), suggested, JobFilter);
    if (chosen.isEmpty())
        return false;
    if (QFileInfo(chosen).suffix().isEmpty())
        chosen += qtText(JobExtension);
    return saveJobTo(chosen);
}

void frmWafer::fillRecentJobs()
{
    mnuRecentJobs->clear();
    const QStringList recent = settings().value(RecentJobsKey).toStringList();
    for (qsizetype i = 0; i < recent.size(); ++i) {
        // &1 … &8: each a key of its own.
        QString caption = QDir::toNativeSeparators(recent[i]);
        caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
        connect(mnuRecentJobs->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(caption)), &QAction::triggered, this,
                [this, path = recent[i]] { openJob(path); });
    }
    if (recent.isEmpty())
        mnuRecentJobs->addAction(QStringLiteral("（沒有）"))->setEnabled(false);
}

void frmWafer::rememberJob(const QString& path)
{
    std::vector<std::string> recent;
    for (const QString& item : settings().value(RecentJobsKey).toStringList())
        recent.push_back(item.toStdString());
    QStringList list;
    for (const std::string& item : withRecentJob(std::move(recent), path.toStdString()))
        list.push_back(QString::fromStdString(item));
    settings().setValue(RecentJobsKey, list);
}

void frmWafer::forgetJob(const QString& path)
{
    QStringList recent = settings().value(RecentJobsKey).toStringList();
    if (recent.removeAll(path) > 0)
        settings().setValue(RecentJobsKey, recent);
}

namespace {

// The first job file and the first other file (a cutting program) among the dropped files.
struct DroppedFiles {
    QString job;
    QString program;
};

DroppedFiles droppedFiles(const QMimeData* data)
{
    DroppedFiles files;
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile())
            continue;
        const QString path = url.toLocalFile();
        QString& kind = path.endsWith(qtText(JobExtension), Qt::CaseInsensitive) ? files.job : files.program;
        if (kind.isEmpty())
            kind = path;
    }
    return files;
}

} // namespace

void frmWafer::dragEnterEvent(QDragEnterEvent* event)
{
    const DroppedFiles files = droppedFiles(event->mimeData());
    if (!files.job.isEmpty() || !files.program.isEmpty())
        event->acceptProposedAction();
}

void frmWafer::dropEvent(QDropEvent* event)
{
    const DroppedFiles files = droppedFiles(event->mimeData());
    if (files.job.isEmpty() && files.program.isEmpty())
        return;
    event->acceptProposedAction();
    // Opened once the drop has returned: a question it raises (the changed
    // job's) must not hold the dragging program. A program is checked against
    // the layout of the job dropped with it.
    QTimer::singleShot(0, this, [this, files] {
        if (!files.job.isEmpty())
            openJob(files.job, files.program);
        else
            openProgramFile(files.program);
    });
}

} // namespace kerf::ui
