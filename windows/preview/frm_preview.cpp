// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/preview/frm_preview.h"

#include <algorithm>
#include <utility>

#include <QDateTime>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QScrollArea>
#include <QVBoxLayout>
#include <QWindow>

#include "forms/open_file_dialog.h"
#include "forms/window_placement.h"
#include "program/check/report/report_numbers.h"
#include "program/reader/reading_error_text.h"

namespace kerf::ui {

namespace {

constexpr int ProgressSteps = BackgroundJob<CutReport>::ProgressSteps;
// Red, green and amber that keep 4.5:1 against the window's light grey.
const QColor FaultColour{192, 0, 0};
const QColor CleanColour{0, 110, 0};
const QColor UncheckedColour{150, 80, 0};

QString qt(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

void setTextColour(QWidget* widget, QPalette::ColorRole role, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

void showFault(QLabel* label, bool fault)
{
    setTextColour(label, QPalette::WindowText, fault ? FaultColour : QColor(Qt::black));
}

// The same wafer laid out from the same boxes: a new program for it keeps the view.
bool sameDesign(const WaferLayout& a, const WaferLayout& b)
{
    return a.shape == b.shape && a.WaferDiameter == b.WaferDiameter && a.texts.waferSize == b.texts.waferSize &&
           a.texts.effectiveDiameter == b.texts.effectiveDiameter && a.texts.shape == b.texts.shape &&
           a.texts.dieSize == b.texts.dieSize && a.texts.fineTune == b.texts.fineTune;
}

} // namespace

frmPreview::frmPreview(QWidget* owner)
    : QDialog(owner),
      reading_([this](ReadResult result) { programRead(std::move(result)); },
               [this](const std::string& failure) {
                   showFailure(failure);
                   updateProgress();
               }),
      checking_([this](CutReport report) { checkDone(std::move(report)); },
                [this](const std::string& failure) {
                    updateProgress();
                    showFailure(failure);
                }),
      drawing_([this](map::CutPathLayers layers) { drawingDone(std::move(layers)); },
               [this](const std::string& failure) { drawingFailed(failure); })
{
    setObjectName(QStringLiteral("frmPreview"));
    setWindowTitle(QStringLiteral("切割路徑預覽"));
    setModal(false);
    setSizeGripEnabled(true);
    buildControls();
    fitWindow(this, QSize(1040, 700));

    drawDelay_.setSingleShot(true);
    drawDelay_.setInterval(120);
    progressDelay_.setSingleShot(true);
    progressDelay_.setInterval(250);
    playTimer_.setInterval(40);
    connect(&drawDelay_, &QTimer::timeout, this, &frmPreview::requestDrawing);
    connect(&progressDelay_, &QTimer::timeout, this, &frmPreview::updateProgress);
    connect(&playTimer_, &QTimer::timeout, this, &frmPreview::playTick);
    rereadDelay_.setSingleShot(true);
    rereadDelay_.setInterval(300);
    connect(&rereadDelay_, &QTimer::timeout, this, &frmPreview::rereadProgramFile);
    connect(&fileWatcher_, &QFileSystemWatcher::fileChanged, this, [this] { programFileChanged(true); });
    connect(&fileWatcher_, &QFileSystemWatcher::directoryChanged, this, [this] { programFileChanged(false); });
    for (const QFutureWatcherBase* watcher : {&reading_.watcher(), &checking_.watcher(), &drawing_.watcher()})
        connect(watcher, &QFutureWatcherBase::progressValueChanged, this, &frmPreview::updateProgress);
}

frmPreview::~frmPreview() { stopWork(); }

void frmPreview::buildControls()
{
    picture = new CutPathView(this);
    picture->setObjectName(QStringLiteral("picture"));
    cmdPlay = new QPushButton(QStringLiteral("播放(&L)"), this);
    cmdPlay->setObjectName(QStringLiteral("cmdPlay"));
    stepSlider = new QSlider(Qt::Horizontal, this);
    stepSlider->setObjectName(QStringLiteral("stepSlider"));
    stepSlider->setRange(0, 0);
    stepLabel = new QLabel(this);
    stepLabel->setObjectName(QStringLiteral("stepLabel"));
    // As high empty as with its text, so that the picture keeps its size.
    stepLabel->setText(QStringLiteral("第 0 / 0 步"));
    stepLabel->setMinimumHeight(stepLabel->sizeHint().height());
    stepLabel->clear();

    auto* walk = new QHBoxLayout;
    walk->addWidget(cmdPlay);
    walk->addWidget(stepSlider, 1);
    auto* left = new QVBoxLayout;
    left->addWidget(picture, 1);
    left->addLayout(walk);
    left->addWidget(stepLabel);

    fileLabel = new QLabel(this);
    fileLabel->setObjectName(QStringLiteral("fileLabel"));
    fileLabel->setWordWrap(true);
    fileLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    fileLabel->hide();
    verdictLabel = new QLabel(this);
    verdictLabel->setObjectName(QStringLiteral("verdictLabel"));
    verdictLabel->setWordWrap(true);
    verdictLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Room for a verdict that names every kind of fault, whatever the layout makes of it.
    verdictLabel->setText(QStringLiteral("一\n二\n三\n四"));
    verdictLabel->setMinimumHeight(verdictLabel->sizeHint().height());
    verdictLabel->clear();
    reportFrame = new QGroupBox(qt(FiguresTitle), this);
    reportFrame->setObjectName(QStringLiteral("reportFrame"));
    auto* figures = new QFormLayout(reportFrame);
    // A row per figure that every report gives; the labels never change.
    for (const ReportFigure& figure : reportFigures(CutReport{})) {
        auto* label = new QLabel(qt(figure.label) + QStringLiteral("："), reportFrame);
        auto* value = new QLabel(reportFrame);
        value->setObjectName(qt(figure.key) + QStringLiteral("Value"));
        value->setWordWrap(true);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        // How the figure is come by (the machine time's assumption), for the one who asks.
        label->setToolTip(qt(figure.note));
        value->setToolTip(qt(figure.note));
        figures->addRow(label, value);
        figureLabels.emplace_back(label);
        figureValues.emplace_back(value);
    }
    auto* listTitle = new QLabel(qt(DetailsTitle) + QStringLiteral("："), this);
    faultList = new QPlainTextEdit(this);
    faultList->setObjectName(QStringLiteral("faultList"));
    faultList->setReadOnly(true);
    faultList->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    progressLabel = new QLabel(this);
    progressLabel->setObjectName(QStringLiteral("progressLabel"));
    progressBar = new QProgressBar(this);
    progressBar->setObjectName(QStringLiteral("progressBar"));
    progressBar->setRange(0, ProgressSteps);
    progressLabel->hide();
    progressBar->hide();
    cmdFit = new QPushButton(QStringLiteral("全圖(&F)"), this);
    cmdFit->setObjectName(QStringLiteral("cmdFit"));
    cmdClose = new QPushButton(QStringLiteral("關閉(&C)"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    cmdClose->setAutoDefault(false);
    cmdPrint = new QPushButton(QStringLiteral("列印工作單(&P)…"), this);
    cmdPrint->setObjectName(QStringLiteral("cmdPrint"));
    cmdPrint->setAutoDefault(false);
    cmdFit->setAutoDefault(false);
    cmdPlay->setAutoDefault(false);
    cmdCompare = new QPushButton(QStringLiteral("與其他程式比較(&O)…"), this);
    cmdCompare->setObjectName(QStringLiteral("cmdCompare"));
    cmdCompare->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdFit);
    buttons->addWidget(cmdPrint);
    buttons->addStretch(1);
    buttons->addWidget(cmdClose);
    // The report scrolls on a screen too low for all of it; the buttons stay in view.
    auto* report = new QWidget;
    auto* reportLayout = new QVBoxLayout(report);
    reportLayout->setContentsMargins(0, 0, 0, 0);
    reportLayout->addWidget(fileLabel);
    reportLayout->addWidget(verdictLabel);
    reportLayout->addWidget(reportFrame);
    reportLayout->addWidget(listTitle);
    reportLayout->addWidget(faultList, 1);
    reportLayout->addWidget(progressLabel);
    reportLayout->addWidget(progressBar);
    auto* reportScroll = new QScrollArea(this);
    reportScroll->setObjectName(QStringLiteral("reportScroll"));
    reportScroll->setFrameShape(QFrame::NoFrame);
    reportScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    reportScroll->setWidgetResizable(true);
    reportScroll->setWidget(report);
    auto* right = new QVBoxLayout;
    right->addWidget(reportScroll, 1);
    right->addWidget(cmdCompare);
    right->addLayout(buttons);

    auto* side = new QWidget(this);
    side->setFixedWidth(340);
    side->setLayout(right);
    right->setContentsMargins(0, 0, 0, 0);
    auto* main = new QHBoxLayout(this);
    main->addLayout(left, 1);
    main->addWidget(side);

    connect(cmdPlay, &QPushButton::clicked, this, &frmPreview::cmdPlay_Click);
    connect(cmdFit, &QPushButton::clicked, this, &frmPreview::cmdFit_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmPreview::reject);
    connect(cmdPrint, &QPushButton::clicked, this, &frmPreview::printRequested);
    connect(cmdCompare, &QPushButton::clicked, this, &frmPreview::cmdCompare_Click);
    connect(stepSlider, &QSlider::valueChanged, this, &frmPreview::stepSlider_Change);
    connect(picture, &CutPathView::viewChanged, this, [this](bool settled) {
        if (settled && program_)
            drawDelay_.start();
    });
}

void frmPreview::showProgram(const WaferLayout& layout, std::string text)
{
    if (!programPath_.isEmpty()) {
        programPath_.clear();
        file_.reset();
        unwatchProgramFile();
        setWindowTitle(QStringLiteral("切割路徑預覽"));
        fileLabel->hide();
    }
    programText_ = std::make_shared<const std::string>(std::move(text));
    startReading(layout, [text = programText_](const BackgroundJob<ReadResult>::Progress&) {
        ReadResult result;
        auto parsed = parseProgram(*text);
        if (auto* error = std::get_if<ProgramError>(&parsed)) {
            result.refusal.emplace();
            result.refusal->verdict = readingErrorText(*error, *text);
            result.refusal->fault = true;
        } else
            result.program = std::make_shared<const Program>(std::get<Program>(std::move(parsed)));
        return std::optional(std::move(result));
    });
}

void frmPreview::showProgramFile(const WaferLayout& layout, const QString& path)
{
    const QFileInfo info(path);
    programPath_ = info.absoluteFilePath();
    programText_.reset();
    file_.reset();
    unwatchProgramFile();
    // The folder too: an editor that saves by renaming replaces the file watched.
    fileWatcher_.addPaths({programPath_, info.absolutePath()});
    setWindowTitle(QStringLiteral("%1 – 切割路徑預覽").arg(info.fileName()));
    fileLabel->setText(QStringLiteral("程式檔：%1").arg(QDir::toNativeSeparators(programPath_)));
    setTextColour(fileLabel, QPalette::WindowText, Qt::black);
    fileLabel->show();
    startReading(layout, [path = std::string(QFile::encodeName(programPath_).constData())](
                             const BackgroundJob<ReadResult>::Progress&) {
        ReadResult result;
        auto read = readProgramFile(path);
        if (const auto* refusal = std::get_if<ProgramFileRefusal>(&read)) {
            ReportText text;
            text.fault = true;
            text.verdict = refusal->message;
            result.refusal = std::move(text);
        } else {
            result.file = std::get<ProgramFile>(std::move(read));
            result.program = result.file->program;
        }
        return std::optional(std::move(result));
    });
}

void frmPreview::startReading(const WaferLayout& layout, Reading reading)
{
    stopWork();
    program_.reset();
    layers_.reset();
    report_.reset();
    const bool keepView = isVisible() && layout_ && sameDesign(*layout_, layout);
    layout_ = std::make_shared<const WaferLayout>(layout);
    picture->setLayout(layout_, keepView);
    picture->setOverlay({}, picture->view());
    picture->setHead(std::nullopt);
    {
        const QSignalBlocker block(stepSlider);
        stepSlider->setRange(0, 0);
    }
    stepSlider->setEnabled(false);
    cmdPlay->setEnabled(false);
    stepLabel->clear();
    clearReport(QStringLiteral("檢查中，結果稍後顯示。"));

    reading_.start(std::move(reading));
    progressDelay_.start();

    if (!isVisible()) {
        if (!testAttribute(Qt::WA_Moved))
            moveBesideMenu(this); // the first time; afterwards where it was left
        show();
    }
    raise();
    activateWindow();
}

void frmPreview::unwatchProgramFile()
{
    rereadDelay_.stop();
    fileTouched_ = false;
    if (const QStringList watched = fileWatcher_.files() + fileWatcher_.directories(); !watched.isEmpty())
        fileWatcher_.removePaths(watched);
}

void frmPreview::programFileChanged(bool fileItself)
{
    // Read once the burst of changes is over; a file renamed into place
    // shows only as a change of its folder.
    fileTouched_ = fileTouched_ || fileItself;
    if (!programPath_.isEmpty())
        rereadDelay_.start();
}

void frmPreview::rereadProgramFile()
{
    if (programPath_.isEmpty() || !isVisible())
        return;
    const bool touched = std::exchange(fileTouched_, false);
    const QString now = QDateTime::currentDateTime().toString(QStringLiteral("HH:mm:ss"));
    if (!QFileInfo::exists(programPath_)) {
        showFileState(QStringLiteral("程式檔已不存在（%1）：顯示的是最後讀取的內容。").arg(now), true);
        return;
    }
    const bool replaced = !fileWatcher_.files().contains(programPath_);
    if (replaced)
        fileWatcher_.addPath(programPath_);
    else if (!touched)
        return; // another file of the folder changed
    const QString path = programPath_;
    const WaferLayout layout = *layout_;
    showProgramFile(layout, path);
    showFileState(QStringLiteral("程式檔已變更，已重新讀取並檢查（%1）。").arg(now), false);
}

void frmPreview::showFileState(const QString& state, bool fault)
{
    QString text = QStringLiteral("程式檔：%1").arg(QDir::toNativeSeparators(programPath_));
    if (file_)
        text += QStringLiteral("（%1 位元組）").arg(file_->text.size());
    fileLabel->setText(text + QLatin1Char('\n') + state);
    setTextColour(fileLabel, QPalette::WindowText, fault ? UncheckedColour : QColor(Qt::black));
}

void frmPreview::stayUsableOver(QWidget* window)
{
    if (!window || !windowHandle() || !window->windowHandle())
        return;
    if (blockingWindow_)
        blockingWindow_->removeEventFilter(this);
    blockingWindow_ = window;
    window->installEventFilter(this);
    // A modal window blocks every window but those it is an ancestor of.
    windowHandle()->setTransientParent(window->windowHandle());
}

bool frmPreview::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == blockingWindow_ && event->type() == QEvent::Hide) {
        blockingWindow_->removeEventFilter(this);
        blockingWindow_ = nullptr;
        if (windowHandle() && parentWidget() && parentWidget()->window()->windowHandle())
            windowHandle()->setTransientParent(parentWidget()->window()->windowHandle());
    }
    return QDialog::eventFilter(watched, event);
}

bool frmPreview::isWorking() const
{
    return reading_.isPending() || checking_.isPending() || drawing_.isPending() || drawDelay_.isActive();
}

void frmPreview::done(int result)
{
    stopWork();
    unwatchProgramFile();
    // What a large program holds goes with the window.
    program_.reset();
    programText_.reset();
    layers_.reset();
    QDialog::done(result);
}

void frmPreview::stopWork()
{
    playTimer_.stop();
    drawDelay_.stop();
    progressDelay_.stop();
    reading_.cancel();
    checking_.cancel();
    drawing_.cancel();
    cmdPlay->setText(QStringLiteral("播放(&L)"));
    updateProgress();
}

void frmPreview::programRead(ReadResult result)
{
    if (result.file) {
        file_ = std::move(result.file);
        QString text = fileLabel->text();
        const qsizetype end = text.indexOf(QLatin1Char('\n'));
        fileLabel->setText(QStringLiteral("程式檔：%1（%2 位元組）").arg(QDir::toNativeSeparators(programPath_)).arg(file_->text.size()) +
                           (end < 0 ? QString() : text.mid(end)));
    }
    if (result.refusal) {
        report_.reset();
        showReport(*result.refusal);
        updateProgress();
        return;
    }
    program_ = std::move(result.program);
    report_.reset();
    layers_.reset();
    checking_.start([program = program_, layout = layout_](const BackgroundJob<CutReport>::Progress& progress) {
        CutCheckOptions options;
        options.progress = [&progress](std::uint64_t done, std::uint64_t total) {
            return progress(total ? double(done) / double(total) : 0.0);
        };
        return std::optional(checkCuts(*program, *layout, options));
    });
    requestDrawing();
}

void frmPreview::requestDrawing()
{
    drawDelay_.stop();
    if (!program_)
        return;
    drawing_.start([program = program_, view = picture->view(), ratio = picture->devicePixelRatioF(),
                           match = map::cutPathMatch(*layout_, CutCheckOptions{}.tolerance)](
                              const BackgroundJob<map::CutPathLayers>::Progress& progress) {
        map::CutPathLayers layers = map::drawCutPathLayers(*program, view, ratio, progress, match);
        return layers.complete ? std::optional(std::move(layers)) : std::nullopt;
    });
    progressDelay_.start();
}

void frmPreview::checkDone(CutReport report)
{
    updateProgress();
    report_ = std::move(report);
    showReport(describeReport(*report_));
}

void frmPreview::drawingFailed(const std::string& failure)
{
    updateProgress();
    stepLabel->setText(QStringLiteral("無法繪製切割路徑：%1。").arg(qt(failure)));
    showFault(stepLabel, true);
}

void frmPreview::drawingDone(map::CutPathLayers layers)
{
    updateProgress();
    const bool first = !layers_;
    layers_ = std::move(layers);
    if (first) {
        const QSignalBlocker block(stepSlider);
        stepSlider->setRange(0, static_cast<int>(layers_->steps.count()));
        stepSlider->setValue(stepSlider->maximum());
        stepSlider->setPageStep(std::max(1, stepSlider->maximum() / 20));
        stepSlider->setEnabled(true);
        cmdPlay->setEnabled(layers_->steps.count() > 0);
    }
    showOverlay();
}

void frmPreview::showOverlay()
{
    if (!layers_)
        return;
    const auto done = static_cast<std::uint32_t>(stepSlider->value());
    picture->setOverlay(map::cutPathOverlay(*layers_, done), layers_->view);
    const map::CutPathSteps& steps = layers_->steps;
    const std::size_t at = std::min<std::size_t>(done, steps.headAfter.size() - 1);
    const ProgramPoint& head = steps.headAfter[at];
    picture->setHead(map::pictureInches(head));
    QString text = QStringLiteral("第 %1 / %2 步（%3 / %4 個動作）　刀頭在 X %5, Y %6 英吋")
                       .arg(done)
                       .arg(steps.count())
                       .arg(steps.motionsAfter[at])
                       .arg(steps.motionsAfter.back())
                       .arg(qt(inchesText(head.x, 6)), qt(inchesText(head.y, 6)));
    if (layers_->beyondBounds)
        text += QStringLiteral("（程式太大，只畫出開頭的部分）");
    stepLabel->setText(text);
    showFault(stepLabel, false);
}

void frmPreview::stepSlider_Change(int) { showOverlay(); }

void frmPreview::cmdPlay_Click()
{
    if (playTimer_.isActive()) {
        playTimer_.stop();
        cmdPlay->setText(QStringLiteral("播放(&L)"));
        return;
    }
    if (stepSlider->value() >= stepSlider->maximum())
        stepSlider->setValue(0);
    playTimer_.start();
    cmdPlay->setText(QStringLiteral("暫停(&L)"));
}

void frmPreview::playTick()
{
    // A whole walk takes some ten seconds, whatever the number of steps.
    const int stride = std::max(1, stepSlider->maximum() / 250);
    stepSlider->setValue(std::min(stepSlider->maximum(), stepSlider->value() + stride));
    if (stepSlider->value() >= stepSlider->maximum()) {
        playTimer_.stop();
        cmdPlay->setText(QStringLiteral("播放(&L)"));
    }
}

void frmPreview::cmdFit_Click() { picture->fitAll(); }

void frmPreview::cmdCompare_Click()
{
    if (!layout_ || (programPath_.isEmpty() && !programText_))
        return;
    const QString folder = programPath_.isEmpty() ? QDir::homePath() : QFileInfo(programPath_).absolutePath();
    const QString chosen = askOpenFileName(this, QStringLiteral("與其他程式比較"), folder,
                                           QStringLiteral("切割程式 (*.TXT *.txt);;所有檔案 (*)"));
    if (chosen.isEmpty())
        return;
    if (!compareWindow)
        compareWindow = new frmCompare(this);
    ComparedProgram a;
    a.path = programPath_;
    a.name = programPath_.isEmpty() ? QStringLiteral("預覽的程式") : QFileInfo(programPath_).fileName();
    a.text = programText_;
    compareWindow->compare(*layout_, std::move(a), chosen);
}

void frmPreview::clearReport(const QString& verdict)
{
    verdictLabel->setText(verdict);
    showFault(verdictLabel, false);
    for (QLabel* label : figureLabels)
        showFault(label, false);
    for (QLabel* value : figureValues) {
        value->clear();
        showFault(value, false);
    }
    faultList->clear();
}

void frmPreview::showReport(const ReportText& text)
{
    clearReport(qt(text.verdict));
    setTextColour(verdictLabel, QPalette::WindowText,
                  text.fault ? FaultColour : text.unchecked ? UncheckedColour : CleanColour);
    // Every report gives the same figures, the rows' ones, or none.
    for (std::size_t i = 0; i < text.figures.size() && i < figureValues.size(); ++i) {
        figureValues[i]->setText(qt(text.figures[i].value));
        showFault(figureValues[i], text.figures[i].fault);
        showFault(figureLabels[i], text.figures[i].fault);
    }
    QStringList lines;
    for (const std::string& line : text.details)
        lines << qt(line);
    faultList->setPlainText(lines.join(QLatin1Char('\n')));
    setTextColour(faultList, QPalette::Text, text.details.empty() ? QColor(Qt::black) : FaultColour);
}

void frmPreview::showFailure(const std::string& failure)
{
    showReport(uncheckedVerdict("無法完成檢查：" + failure + "。"));
}

void frmPreview::updateProgress()
{
    int working = 0;
    int sum = 0;
    for (const auto& [running, progress] : {std::pair(reading_.isRunning(), reading_.progress()),
                                            std::pair(checking_.isRunning(), checking_.progress()),
                                            std::pair(drawing_.isRunning(), drawing_.progress())})
        if (running) {
            ++working;
            sum += progress;
        }
    if (working == 0) {
        progressDelay_.stop();
        progressBar->hide();
        progressLabel->hide();
        return;
    }
    if (progressDelay_.isActive())
        return; // not yet: most work is done before the bar would be seen
    progressLabel->setText(checking_.isRunning() || reading_.isRunning()
                               ? QStringLiteral("讀取與檢查程式中……")
                               : QStringLiteral("繪製切割路徑中……"));
    progressBar->setValue(sum / working);
    progressLabel->show();
    progressBar->show();
}

} // namespace kerf::ui
