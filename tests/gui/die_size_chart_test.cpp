// SPDX-License-Identifier: GPL-3.0-or-later
// The die-size chart window, opened from the designer's picture menu.
#include <memory>
#include <sstream>

#include <QChart>
#include <QChartView>
#include <QDeadlineTimer>
#include <QImage>
#include <QScatterSeries>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>
#include <QLineSeries>

#include "forms/application.h"
#include "forms/file_dialog.h"
#include "windows/die_size_chart/frm_die_size_chart.h"
#include "windows/designer/frm_wafer.h"
#include "tests/support/gui_test_support.h"
#include "yield/yield_sweep.h"

using namespace kerf;
using namespace kerf::ui;
using namespace kerf::testing;

class DieSizeChartTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void opensAroundTheDesignAndMarksIt();
    void menuEntryNeedsADesign();
    void refusedRangeIsSaidAndNothingRuns();
    void savesCsvAndPng();
    void tooltipNamesTheNearestPoint();
    void closingStopsALongRun();
    void goodDiesCurvesFromTheDesignersYield();

private:
    frmDieSizeChart* openChart();

    std::unique_ptr<frmWafer> designer;
    std::unique_ptr<MessageRecorder> messages;
    QTemporaryDir folder;
};

void DieSizeChartTest::init()
{
    messages = std::make_unique<MessageRecorder>();
    designer = std::make_unique<frmWafer>(nullptr);
    designer->showModeless();
}

void DieSizeChartTest::cleanup()
{
    designer.reset();
    messages.reset();
}

frmDieSizeChart* DieSizeChartTest::openChart()
{
    choose(designer->Combo1, QStringLiteral("2.0 Inches"));
    choose(designer->Combo2, QStringLiteral("Hexagon"));
    type(designer->Text1, QStringLiteral("50"));
    QTest::mouseClick(designer->cmdDraw, Qt::LeftButton);
    emit designer->PIC1Menu->aboutToShow();
    [&] { QVERIFY(designer->mnuDieSizeChart->isEnabled()); }();
    designer->mnuDieSizeChart->trigger();
    frmDieSizeChart* chart = designer->dieSizeChartWindow();
    // The run may have finished in the workers before its end reaches the window.
    QDeadlineTimer deadline(20000);
    while (chart && chart->points().empty() && !deadline.hasExpired())
        QTest::qWait(10);
    return chart;
}

void DieSizeChartTest::opensAroundTheDesignAndMarksIt()
{
    frmDieSizeChart* chart = openChart();
    QVERIFY(chart && chart->isVisible());
    QCOMPARE(chart->windowTitle(), QStringLiteral("晶粒尺寸比較"));
    QCOMPARE(chart->txtFrom->text(), QStringLiteral("25"));
    QCOMPARE(chart->txtTo->text(), QStringLiteral("75"));
    QCOMPARE(chart->txtSteps->text(), QStringLiteral("200"));
    QVERIFY(!chart->isRunning());
    QCOMPARE(chart->points().size(), std::size_t(600));
    QVERIFY(chart->progress->isHidden());
    QVERIFY(chart->refusedNote->isHidden());
    // The points are the sweep's, shape by shape.
    QCOMPARE(chart->points()[200].shape, std::string("Hexagon"));
    QCOMPARE(chart->points()[200].dieSize, std::string("25"));
    QCOMPARE(chart->points()[599].dieSize, std::string("75"));
    const QList<QAbstractSeries*> series = chart->view->chart()->series();
    QCOMPARE(series.size(), 13); // dies and utilisation of three shapes, their markers, and the mark
    auto* mark = qobject_cast<QScatterSeries*>(series.back());
    QVERIFY(mark);
    QCOMPARE(mark->count(), 1);
    QCOMPARE(mark->at(0).x(), 50.0);
    QCOMPARE(mark->at(0).y(), QString::fromStdString(designer->Text4->text().toStdString()).toDouble());
    // Changed range and steps: computed again; the sizes too small to lay out are named.
    chart->txtFrom->setText(QStringLiteral("0.01"));
    chart->txtTo->setText(QStringLiteral("1"));
    chart->txtSteps->setText(QStringLiteral("10"));
    QSignalSpy shown(chart, &frmDieSizeChart::chartShown);
    QTest::mouseClick(chart->cmdRun, Qt::LeftButton);
    QVERIFY(chart->progress->isVisible());
    QVERIFY(shown.wait(20000));
    QCOMPARE(chart->points().size(), std::size_t(30));
    QVERIFY(chart->refusedNote->isVisible());
    QVERIFY(chart->refusedNote->text().startsWith(QStringLiteral("Circle 0.01 mil（1 個尺寸）未列入：晶粒尺寸太小")));
    QVERIFY(chart->refusedNote->text().contains(QStringLiteral("未列入：晶粒尺寸太小")));
    QCOMPARE(roundTickStep(0.9, 10), 0.1);
    QCOMPARE(roundTickStep(1450, 8), 200.0);
    QVERIFY(messages->shown.empty());
}

void DieSizeChartTest::menuEntryNeedsADesign()
{
    emit designer->PIC1Menu->aboutToShow();
    QVERIFY(!designer->mnuDieSizeChart->isEnabled());
    QCOMPARE(designer->mnuDieSizeChart->text(), QStringLiteral("晶粒尺寸比較(&C)…"));
    designer->mnuDieSizeChart_Click();
    QVERIFY(!designer->dieSizeChartWindow());
}

void DieSizeChartTest::refusedRangeIsSaidAndNothingRuns()
{
    frmDieSizeChart* chart = openChart();
    QVERIFY(chart);
    const struct {
        const char* from;
        const char* to;
        const char* steps;
    } cases[] = {{"75", "25", "200"}, {"", "25", "200"}, {"1", "25", "1"}, {"1", "25", ""}, {".", "2", "3"}};
    for (const auto& c : cases) {
        messages->shown.clear();
        chart->txtFrom->setText(QString::fromLatin1(c.from));
        chart->txtTo->setText(QString::fromLatin1(c.to));
        chart->txtSteps->setText(QString::fromLatin1(c.steps));
        QTest::mouseClick(chart->cmdRun, Qt::LeftButton);
        QCOMPARE(messages->shown.size(), std::size_t(1));
        QCOMPARE(messages->shown.front().title, std::string(InputErrorTitle));
        QVERIFY(!chart->isRunning());
        QCOMPARE(chart->points().size(), std::size_t(600)); // the last chart stays
    }
}

void DieSizeChartTest::savesCsvAndPng()
{
    frmDieSizeChart* chart = openChart();
    QVERIFY(chart);
    QString answer;
    const SaveFileFunction previous = setSaveFileFunction(
        [&](QWidget*, const QString&, const QString&, const QString&, QString*) { return answer; });
    answer = folder.filePath(QStringLiteral("sweep.csv"));
    QTest::mouseClick(chart->cmdSaveCsv, Qt::LeftButton);
    answer = folder.filePath(QStringLiteral("sweep.png"));
    QTest::mouseClick(chart->cmdSavePng, Qt::LeftButton);
    answer = folder.filePath(QStringLiteral("missing/sweep.csv"));
    QTest::mouseClick(chart->cmdSaveCsv, Qt::LeftButton);
    setSaveFileFunction(previous);

    QFile csv(folder.filePath(QStringLiteral("sweep.csv")));
    QVERIFY(csv.open(QIODevice::ReadOnly));
    std::ostringstream expected;
    writeSweepCsv(expected, chart->points());
    QCOMPARE(csv.readAll().toStdString(), expected.str());
    const QImage image(folder.filePath(QStringLiteral("sweep.png")));
    QCOMPARE(image.size(), chart->view->size());
    QCOMPARE(messages->shown.size(), std::size_t(1)); // the missing folder, said
    QCOMPARE(messages->shown.front().icon, MessageIcon::Exclamation);
}

void DieSizeChartTest::tooltipNamesTheNearestPoint()
{
    frmDieSizeChart* chart = openChart();
    QVERIFY(chart);
    QLineSeries* squares = nullptr; // the Square dies, the first of its two lines
    for (QAbstractSeries* series : chart->view->chart()->series())
        if (auto* line = qobject_cast<QLineSeries*>(series); line && !squares && series->type() == QAbstractSeries::SeriesTypeLine
                                                               && line->property("shape") == QStringLiteral("Square"))
            squares = line;
    QVERIFY(squares);
    emit squares->hovered(QPointF(25.1, 0), true);
    const SweepPoint& nearest = chart->points()[400]; // Square, 25 mil
    QCOMPARE(nearest.dieSize, std::string("25"));
    QTRY_COMPARE(QToolTip::text(), pointTip(nearest));
    QVERIFY(QToolTip::text().contains(QString::fromStdString(nearest.results->dies)));
    emit squares->hovered(QPointF(25.1, 0), false);
    QTRY_VERIFY(!QToolTip::isVisible());
}

void DieSizeChartTest::closingStopsALongRun()
{
    frmDieSizeChart* chart = openChart();
    QVERIFY(chart);
    // Thirty thousand sizes of ten thousand rows each.
    chart->txtFrom->setText(QStringLiteral("0.2"));
    chart->txtTo->setText(QStringLiteral("0.3"));
    chart->txtSteps->setText(QStringLiteral("10000"));
    QSignalSpy shown(chart, &frmDieSizeChart::chartShown);
    QSignalSpy told(&chart->job().watcher(), &QFutureWatcherBase::progressValueChanged);
    QTest::mouseClick(chart->cmdRun, Qt::LeftButton);
    QVERIFY(told.wait(20000)); // the window hears how far the run is while it runs
    QVERIFY(chart->progress->isVisible());
    QTest::mouseClick(chart->cmdClose, Qt::LeftButton);
    QVERIFY(!chart->isVisible());
    QVERIFY(!chart->isRunning());
    chart->job().lastRun().waitForFinished();
    QVERIFY(chart->job().lastRunReached() < 0.5);
    QCOMPARE(shown.count(), 0);
}

void DieSizeChartTest::goodDiesCurvesFromTheDesignersYield()
{
    designer->setYieldTexts({"3", "negative-binomial", "", "1.5", "80"});
    frmDieSizeChart* chart = openChart();
    QVERIFY(chart);
    QCOMPARE(chart->yieldBoxes->txtAlpha->text(), QStringLiteral("1.5"));
    QVERIFY(!chart->yieldBoxes->txtLayers->isEnabled());
    const YieldSettings settings = std::get<YieldSettings>(readYieldSettings(chart->yieldBoxes->texts()));
    // Per shape a dashed good-dies line in the shape's colour and a star at its most good dies.
    int goodLines = 0, stars = 0;
    for (QAbstractSeries* series : chart->view->chart()->series()) {
        const std::string shape = series->property("shape").toString().toStdString();
        if (auto* line = qobject_cast<QLineSeries*>(series); line && line->name().endsWith(QStringLiteral("良品數"))) {
            ++goodLines;
            QCOMPARE(line->pen().style(), Qt::DashLine);
            QCOMPARE(line->count(), 200);
            for (const SweepPoint& point : chart->points())
                if (point.shape == shape && point.dieSize == "50")
                    QCOMPARE(line->at(100).y(), double(pointGoodDies(point, settings)->goodDies));
        }
        if (auto* star = qobject_cast<QScatterSeries*>(series); star && star->markerShape() == QScatterSeries::MarkerShapeStar) {
            ++stars;
            const SweepPoint& best = chart->points()[*mostGoodDiesPoint(chart->points(), shape, settings)];
            QCOMPARE(star->at(0).x(), best.dieMil);
        }
    }
    QCOMPARE(goodLines, 3);
    QCOMPARE(stars, 3);
    QVERIFY(chart->view->chart()->title().contains(QStringLiteral("良品最多")));
    const SweepPoint& point = chart->points()[300];
    QCOMPARE(pointTip(point, settings), pointTip(point) + QStringLiteral("\n良率：%1\n良品數：%2\n每顆良品成本：%3")
                                                             .arg(QString::fromStdString(yieldPercentText(pointGoodDies(point, settings)->yield)))
                                                             .arg(pointGoodDies(point, settings)->goodDies)
                                                             .arg(QString::fromStdString(costPerGoodDieText(*pointGoodDies(point, settings)))));
    // A refused setting: said, its box focused, the chart as it was.
    chart->yieldBoxes->txtAlpha->setText(QStringLiteral("0"));
    QTest::mouseClick(chart->cmdRun, Qt::LeftButton);
    QCOMPARE(messages->shown.size(), std::size_t(1));
    QVERIFY(messages->shown.front().prompt.find("叢集參數") != std::string::npos);
    QVERIFY(chart->yieldBoxes->txtAlpha->hasFocus());
    QVERIFY(!chart->isRunning());
    // No density: no good dies.
    chart->yieldBoxes->txtDefects->clear();
    QSignalSpy shown(chart, &frmDieSizeChart::chartShown);
    QTest::mouseClick(chart->cmdRun, Qt::LeftButton);
    QVERIFY(shown.wait(20000));
    QCOMPARE(chart->view->chart()->series().size(), 13);
}

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    prepareApplication(application);
    DieSizeChartTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "die_size_chart_test.moc"
