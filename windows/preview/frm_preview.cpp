#include "windows/preview/frm_preview.h"

#include <algorithm>
#include <exception>
#include <new>

#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <QWindow>
#include <QtConcurrent/QtConcurrentRun>

#include "forms/window_placement.h"

namespace kerf::ui {

namespace {

constexpr int ProgressSteps = 1000;
const QColor FaultColour{255, 0, 0};
const QColor CleanColour{0, 128, 0};
const QColor UncheckedColour{176, 96, 0};

QString qt(const std::string& text) { return QString::fromStdString(text); }

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

// Reports a worker's share done to its future; false once it is cancelled.
template <typename T>
bool reportProgress(QPromise<T>& promise, double done)
{
    promise.setProgressValue(static_cast<int>(std::clamp(done, 0.0, 1.0) * ProgressSteps));
    return !promise.isCanceled();
}

// What a worker says when it cannot finish: the machine ran out of memory,
// or something else went wrong.
std::string failureOf(const std::exception& error)
{
    if (dynamic_cast<const std::bad_alloc*>(&error))
        return "記憶體不足";
    return "發生錯誤";
}

// The same wafer laid out from the same boxes: a new program for it keeps the view.
bool sameDesign(const WaferLayout& a, const WaferLayout& b)
{
    return a.shape == b.shape && a.WaferDiameter == b.WaferDiameter && a.texts.waferSize == b.texts.waferSize &&
           a.texts.effectiveDiameter == b.texts.effectiveDiameter && a.texts.shape == b.texts.shape &&
           a.texts.dieSize == b.texts.dieSize && a.texts.fineTune == b.texts.fineTune;
}

const char* const FigureNames[frmPreview::FigureCount] = {"cutsValue",   "passesValue", "cutLengthValue",
                                                          "travelValue", "diesValue",   "uncutValue",
                                                          "outsideValue", "strayValue", "endValue",
                                                          "machineTimeValue"};

} // namespace

frmPreview::frmPreview(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmPreview"));
    setWindowTitle(QStringLiteral("切割路徑預覽"));
    setModal(false);
    setSizeGripEnabled(true);
    // Room for the reading, the check and a drawing that is being replaced.
    pool_.setMaxThreadCount(3);
    buildControls();
    resize(1040, 700);

    drawDelay_.setSingleShot(true);
    drawDelay_.setInterval(120);
    progressDelay_.setSingleShot(true);
    progressDelay_.setInterval(250);
    playTimer_.setInterval(40);
    connect(&drawDelay_, &QTimer::timeout, this, &frmPreview::requestDrawing);
    connect(&progressDelay_, &QTimer::timeout, this, &frmPreview::updateProgress);
    connect(&playTimer_, &QTimer::timeout, this, &frmPreview::playTick);
    connect(&readWatcher_, &QFutureWatcherBase::finished, this, &frmPreview::programRead);
    connect(&checkWatcher_, &QFutureWatcherBase::finished, this, &frmPreview::checkDone);
    connect(&drawWatcher_, &QFutureWatcherBase::finished, this, &frmPreview::drawingDone);
    for (QFutureWatcherBase* watcher :
         std::initializer_list<QFutureWatcherBase*>{&readWatcher_, &checkWatcher_, &drawWatcher_})
        connect(watcher, &QFutureWatcherBase::progressValueChanged, this, &frmPreview::updateProgress);
}

frmPreview::~frmPreview()
{
    stopWork();
    pool_.waitForDone();
}

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

    verdictLabel = new QLabel(this);
    verdictLabel->setObjectName(QStringLiteral("verdictLabel"));
    verdictLabel->setWordWrap(true);
    verdictLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Room for a verdict that names every kind of fault, whatever the layout makes of it.
    verdictLabel->setText(QStringLiteral("一\n二\n三\n四"));
    verdictLabel->setMinimumHeight(verdictLabel->sizeHint().height());
    verdictLabel->clear();
    reportFrame = new QGroupBox(QStringLiteral("檢查結果"), this);
    reportFrame->setObjectName(QStringLiteral("reportFrame"));
    auto* figures = new QFormLayout(reportFrame);
    for (int i = 0; i < FigureCount; ++i) {
        figureLabels[i] = new QLabel(reportFrame);
        figureValues[i] = new QLabel(reportFrame);
        figureValues[i]->setObjectName(QString::fromLatin1(FigureNames[i]));
        figureValues[i]->setWordWrap(true);
        figureValues[i]->setTextInteractionFlags(Qt::TextSelectableByMouse);
        figures->addRow(figureLabels[i], figureValues[i]);
    }
    // How the machine time is estimated, for the one who asks.
    const QString assumption = QString::fromUtf8(machineTimeAssumption());
    figureLabels[FigureCount - 1]->setToolTip(assumption);
    figureValues[FigureCount - 1]->setToolTip(assumption);
    auto* listTitle = new QLabel(QStringLiteral("未完整切割的晶粒與多餘的切割："), this);
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
    cmdFit->setAutoDefault(false);
    cmdPlay->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdFit);
    buttons->addStretch(1);
    buttons->addWidget(cmdClose);
    auto* right = new QVBoxLayout;
    right->addWidget(verdictLabel);
    right->addWidget(reportFrame);
    right->addWidget(listTitle);
    right->addWidget(faultList, 1);
    right->addWidget(progressLabel);
    right->addWidget(progressBar);
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
    connect(stepSlider, &QSlider::valueChanged, this, &frmPreview::stepSlider_Change);
    connect(picture, &CutPathView::viewChanged, this, [this](bool settled) {
        if (settled && program_)
            drawDelay_.start();
    });
}

void frmPreview::showProgram(const WaferLayout& layout, std::string text)
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

    readPending_ = true;
    readWatcher_.setFuture(QtConcurrent::run(&pool_, [text = std::move(text)]() {
        ReadResult result;
        try {
            auto parsed = parseProgram(text);
            if (auto* error = std::get_if<ProgramError>(&parsed))
                result.refusal = describeProgramError(*error, text);
            else
                result.program = std::make_shared<const Program>(std::get<Program>(std::move(parsed)));
        } catch (const std::exception& error) {
            result.failure = failureOf(error);
        }
        return result;
    }));
    progressDelay_.start();

    if (!isVisible()) {
        if (!testAttribute(Qt::WA_Moved))
            moveBesideMenu(this); // the first time; afterwards where it was left
        show();
    }
    raise();
    activateWindow();
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
    return readPending_ || checkPending_ || drawPending_ || drawDelay_.isActive();
}

void frmPreview::done(int result)
{
    stopWork();
    // What a large program holds goes with the window.
    program_.reset();
    layers_.reset();
    QDialog::done(result);
}

void frmPreview::stopWork()
{
    playTimer_.stop();
    drawDelay_.stop();
    progressDelay_.stop();
    for (QFutureWatcherBase* watcher :
         std::initializer_list<QFutureWatcherBase*>{&readWatcher_, &checkWatcher_, &drawWatcher_})
        watcher->cancel();
    // Watching nothing: the finished signals of cancelled work do not come.
    readWatcher_.setFuture({});
    checkWatcher_.setFuture({});
    drawWatcher_.setFuture({});
    readPending_ = checkPending_ = drawPending_ = false;
    cmdPlay->setText(QStringLiteral("播放(&L)"));
    updateProgress();
}

void frmPreview::programRead()
{
    const QFuture<ReadResult> future = readWatcher_.future();
    if (!readPending_ || future.isCanceled() || future.resultCount() == 0)
        return;
    readPending_ = false;
    const ReadResult result = future.result();
    if (!result.failure.empty()) {
        showFailure(result.failure);
        updateProgress();
        return;
    }
    if (result.refusal) {
        report_.reset();
        showReport(*result.refusal);
        updateProgress();
        return;
    }
    program_ = result.program;
    report_.reset();
    layers_.reset();
    checkPending_ = true;
    checkWatcher_.setFuture(QtConcurrent::run(
        &pool_, [program = program_, layout = layout_](QPromise<Outcome<CutReport>>& promise) {
            promise.setProgressRange(0, ProgressSteps);
            CutCheckOptions options;
            options.progress = [&promise](std::uint64_t done, std::uint64_t total) {
                return reportProgress(promise, total ? double(done) / double(total) : 0.0);
            };
            Outcome<CutReport> outcome;
            try {
                outcome.value = checkCuts(*program, *layout, options);
            } catch (const std::exception& error) {
                outcome.failure = failureOf(error);
            }
            promise.addResult(std::move(outcome));
        }));
    requestDrawing();
}

void frmPreview::requestDrawing()
{
    drawDelay_.stop();
    if (!program_)
        return;
    drawWatcher_.cancel();
    drawPending_ = true;
    drawWatcher_.setFuture(QtConcurrent::run(
        &pool_, [program = program_, view = picture->view(), ratio = picture->devicePixelRatioF(),
                 match = map::cutPathMatch(*layout_, CutCheckOptions{}.tolerance)](
                    QPromise<Outcome<map::CutPathLayers>>& promise) {
            promise.setProgressRange(0, ProgressSteps);
            Outcome<map::CutPathLayers> outcome;
            try {
                map::CutPathLayers layers =
                    map::drawCutPathLayers(*program, view, ratio,
                                           [&promise](double done) { return reportProgress(promise, done); },
                                           match);
                if (!layers.complete)
                    return; // cancelled
                outcome.value = std::move(layers);
            } catch (const std::exception& error) {
                outcome.failure = failureOf(error);
            }
            promise.addResult(std::move(outcome));
        }));
    progressDelay_.start();
}

void frmPreview::checkDone()
{
    const QFuture<Outcome<CutReport>> future = checkWatcher_.future();
    if (!checkPending_ || future.isCanceled() || future.resultCount() == 0)
        return;
    checkPending_ = false;
    updateProgress();
    const Outcome<CutReport> outcome = future.result();
    if (!outcome.value) {
        showFailure(outcome.failure);
        return;
    }
    report_ = outcome.value;
    showReport(describeReport(*report_));
}

void frmPreview::drawingDone()
{
    const QFuture<Outcome<map::CutPathLayers>> future = drawWatcher_.future();
    if (!drawPending_ || future.isCanceled() || future.resultCount() == 0)
        return;
    drawPending_ = false;
    updateProgress();
    Outcome<map::CutPathLayers> outcome = future.result();
    if (!outcome.value) {
        stepLabel->setText(QStringLiteral("無法繪製切割路徑：%1。").arg(qt(outcome.failure)));
        showFault(stepLabel, true);
        return;
    }
    const bool first = !layers_;
    layers_ = std::move(outcome.value);
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

void frmPreview::clearReport(const QString& verdict)
{
    verdictLabel->setText(verdict);
    showFault(verdictLabel, false);
    static const char* const labels[FigureCount] = {"切割次數",   "切割遍數",       "切割長度",
                                                    "移動長度",   "完整切割的晶粒", "未完整切割的晶粒",
                                                    "有效圓外的切割", "不在晶粒邊上的切割", "結束位置",
                                                    "預估加工時間"};
    for (int i = 0; i < FigureCount; ++i) {
        figureLabels[i]->setText(QString::fromUtf8(labels[i]) + QStringLiteral("："));
        figureValues[i]->clear();
        showFault(figureValues[i], false);
    }
    faultList->clear();
}

void frmPreview::showReport(const ReportText& text)
{
    clearReport(qt(text.verdict));
    setTextColour(verdictLabel, QPalette::WindowText,
                  text.fault ? FaultColour : text.unchecked ? UncheckedColour : CleanColour);
    for (std::size_t i = 0; i < text.figures.size() && i < FigureCount; ++i) {
        figureLabels[i]->setText(qt(text.figures[i].label) + QStringLiteral("："));
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
    for (const QFutureWatcherBase* watcher :
         std::initializer_list<const QFutureWatcherBase*>{&readWatcher_, &checkWatcher_, &drawWatcher_})
        if (watcher->isRunning()) {
            ++working;
            sum += std::max(0, watcher->progressValue());
        }
    if (working == 0) {
        progressDelay_.stop();
        progressBar->hide();
        progressLabel->hide();
        return;
    }
    if (progressDelay_.isActive())
        return; // not yet: most work is done before the bar would be seen
    progressLabel->setText(checkWatcher_.isRunning() || readWatcher_.isRunning()
                               ? QStringLiteral("讀取與檢查程式中……")
                               : QStringLiteral("繪製切割路徑中……"));
    progressBar->setValue(sum / working);
    progressLabel->show();
    progressBar->show();
}

} // namespace kerf::ui
