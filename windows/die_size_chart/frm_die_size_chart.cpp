// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/die_size_chart/frm_die_size_chart.h"

#include <QChartView>
#include <QCloseEvent>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QLabel>
#include <QLineSeries>
#include <QToolTip>

#include "forms/background/background_pool.h"
#include "forms/file_dialog.h"
#include "forms/message_box.h"
#include "forms/window_placement.h"
#include "layout/sweep_range_texts.h"

namespace kerf::ui {

namespace {

// The default range around the designer's die size, and its points.
constexpr double DefaultSpread = 0.5;
constexpr int DefaultSteps = 200;

QString milText(double mil) { return QString::fromStdString(dieSizeText(mil)); }

} // namespace

frmDieSizeChart::frmDieSizeChart(QWidget* owner)
    : QDialog(owner),
      job_([this](std::vector<SweepPoint> points) { runFinished(std::move(points)); },
           [this](const std::string& failure) { runFailed(failure); })
{
    setObjectName(QStringLiteral("frmDieSizeChart"));
    setWindowTitle(QStringLiteral("晶粒尺寸比較"));
    setModal(false);
    setSizeGripEnabled(true);

    auto* grid = new QGridLayout(this);
    const auto label = [this](const char* text) { return new QLabel(QString::fromUtf8(text), this); };
    txtFrom = new NumberBox(this);
    txtTo = new NumberBox(this);
    txtSteps = new NumberBox(this);
    cmdRun = new QPushButton(QStringLiteral("重新計算(&R)"), this);
    cmdSavePng = new QPushButton(QStringLiteral("另存圖片(&P)…"), this);
    cmdSaveCsv = new QPushButton(QStringLiteral("匯出 CSV(&V)…"), this);
    cmdClose = new QPushButton(QStringLiteral("關閉(&C)"), this);
    progress = new QProgressBar(this);
    progress->setRange(0, job_.ProgressSteps);
    progress->setFormat(QStringLiteral("計算中…… %p %"));
    progress->hide();
    view = new QChartView(this);
    refusedNote = new QLabel(this);
    refusedNote->setObjectName(QStringLiteral("refusedNote"));
    refusedNote->setWordWrap(true);
    refusedNote->hide();
    view->setRenderHint(QPainter::Antialiasing);
    int column = 0;
    grid->addWidget(label("晶粒尺寸從："), 0, column++);
    grid->addWidget(txtFrom, 0, column++);
    grid->addWidget(label("到："), 0, column++);
    grid->addWidget(txtTo, 0, column++);
    grid->addWidget(label("mil，點數："), 0, column++);
    grid->addWidget(txtSteps, 0, column++);
    grid->addWidget(cmdRun, 0, column++);
    grid->addWidget(cmdSavePng, 0, column++);
    grid->addWidget(cmdSaveCsv, 0, column++);
    grid->addWidget(cmdClose, 0, column++);
    yieldBoxes = new YieldBoxes(this, YieldBoxes::Arrangement::Row);
    grid->addWidget(yieldBoxes, 1, 0, 1, column);
    grid->addWidget(progress, 2, 0, 1, column);
    grid->addWidget(view, 3, 0, 1, column);
    grid->addWidget(refusedNote, 4, 0, 1, column);
    grid->setRowStretch(3, 1);
    cmdRun->setDefault(true);

    connect(cmdRun, &QPushButton::clicked, this, &frmDieSizeChart::cmdRun_Click);
    connect(cmdSavePng, &QPushButton::clicked, this, &frmDieSizeChart::cmdSavePng_Click);
    connect(cmdSaveCsv, &QPushButton::clicked, this, &frmDieSizeChart::cmdSaveCsv_Click);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::close);
    connect(&job_.watcher(), &QFutureWatcherBase::progressValueChanged, progress, &QProgressBar::setValue);
    fitWindow(this, QSize(900, 620));
}

frmDieSizeChart::~frmDieSizeChart() { stop(); }

void frmDieSizeChart::stop()
{
    // The run stops at its next point; nobody waits for it.
    job_.cancel();
    progress->hide();
}

void frmDieSizeChart::closeEvent(QCloseEvent* event)
{
    stop();
    event->accept();
}

void frmDieSizeChart::showFor(const DesignInput& design, const YieldTexts& yield)
{
    yieldBoxes->setTexts(yield);
    design_ = design;
    const double die = QString::fromStdString(design.texts.dieSize).toDouble();
    const DesignOutcome outcome = runDesign(design);
    mark_.reset();
    if (const auto* current = std::get_if<Design>(&outcome))
        mark_ = ChartMark{die, QString::fromStdString(current->results.dies).toDouble()};
    txtFrom->setText(milText(die * (1 - DefaultSpread)));
    txtTo->setText(milText(die * (1 + DefaultSpread)));
    txtSteps->setText(QString::number(DefaultSteps));
    if (!isVisible() && !testAttribute(Qt::WA_Moved))
        moveBesideMenu(this); // the first time; afterwards where it was left
    show();
    raise();
    activateWindow();
    cmdRun_Click();
}

void frmDieSizeChart::cmdRun_Click()
{
    SweepRequest request;
    request.base = design_;
    request.shapes.assign(DieShapeItems.begin(), DieShapeItems.end());
    const SweepRangeTexts texts{txtFrom->text().toStdString(), txtTo->text().toStdString(),
                                txtSteps->text().toStdString()};
    if (const auto refusal = readSweepRange(texts, request)) {
        showMessage(this, MessageIcon::Exclamation, InputErrorTitle, refusal->prompt);
        NumberBox* box = refusal->box == SweepRangeBox::From ? txtFrom
                       : refusal->box == SweepRangeBox::To   ? txtTo
                                                             : txtSteps;
        box->focusToFix();
        return;
    }
    std::optional<YieldSettings> yield;
    if (!yieldBoxes->read(this, yield))
        return;
    pendingYield_ = yield;
    cmdSavePng->setEnabled(false);
    cmdSaveCsv->setEnabled(false);
    progress->setValue(0);
    progress->show();
    job_.start([request](const BackgroundJob<std::vector<SweepPoint>>::Progress& told)
                   -> std::optional<std::vector<SweepPoint>> {
        std::vector<SweepPoint> points(sweepPointCount(request));
        if (!forEachIndex(points.size(), told, [&](std::size_t index) { points[index] = sweepPoint(request, index); }))
            return std::nullopt;
        return points;
    });
}

void frmDieSizeChart::runFailed(const std::string& failure)
{
    progress->hide();
    showMessage(this, MessageIcon::Exclamation, "無法計算", "無法計算晶粒尺寸比較：" + failure + "。");
}

void frmDieSizeChart::runFinished(std::vector<SweepPoint> points)
{
    progress->hide();
    points_ = std::move(points);
    yield_ = pendingYield_;
    const QString refused = refusalNote(points_);
    refusedNote->setText(refused);
    refusedNote->setVisible(!refused.isEmpty());
    QChart* chart = makeDieSizeChart(points_, mark_, yield_);
    for (QAbstractSeries* series : chart->series())
        if (auto* line = qobject_cast<QLineSeries*>(series))
            connect(line, &QLineSeries::hovered, this, &frmDieSizeChart::showTip);
    QChart* old = view->chart();
    view->setChart(chart);
    delete old;
    cmdSavePng->setEnabled(true);
    cmdSaveCsv->setEnabled(true);
    emit chartShown();
}

void frmDieSizeChart::showTip(const QPointF& at, bool entered)
{
    const auto* series = qobject_cast<QLineSeries*>(sender());
    if (!entered || !series) {
        QToolTip::hideText();
        return;
    }
    // The nearest size of the series' shape that has a point.
    const std::string shape = series->property("shape").toString().toStdString();
    const SweepPoint* nearest = nullptr;
    for (const SweepPoint& point : points_)
        if (point.shape == shape && point.results
            && (!nearest || std::abs(point.dieMil - at.x()) < std::abs(nearest->dieMil - at.x())))
            nearest = &point;
    if (nearest)
        QToolTip::showText(QCursor::pos(), pointTip(*nearest, yield_), view);
}

void frmDieSizeChart::cmdSavePng_Click()
{
    const QString chosen = askSaveFileName(this, QStringLiteral("另存圖片"),
                                           QDir::home().filePath(QStringLiteral("die-size.png")),
                                           QStringLiteral("PNG 圖片 (*.png)"));
    if (chosen.isEmpty())
        return;
    const QImage image = drawDieSizeChart(points_, mark_, view->size(), yield_);
    if (const auto failure = savePng(image, QFile::encodeName(chosen).toStdString()))
        showMessage(this, MessageIcon::Exclamation, "無法寫入", *failure);
}

void frmDieSizeChart::cmdSaveCsv_Click()
{
    const QString chosen = askSaveFileName(this, QStringLiteral("匯出 CSV"),
                                           QDir::home().filePath(QStringLiteral("die-size.csv")),
                                           QStringLiteral("CSV 檔 (*.csv)"));
    if (chosen.isEmpty())
        return;
    if (const auto failure = saveSweepCsv(points_, QFile::encodeName(chosen).toStdString(), yield_))
        showMessage(this, MessageIcon::Exclamation, "無法寫入", *failure);
}

} // namespace kerf::ui
