#pragma once

#include <optional>
#include <vector>

#include <QDialog>
#include <QFutureWatcher>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>

#include "render/die_size_chart.h"
#include "forms/number_box.h"
#include "layout/die_size_sweep.h"

class QChartView;

namespace kerf::ui {

/// The die-size chart: the dies and area utilisation of the three shapes
/// over a range of die sizes around the designer's, each point a design run
/// done in worker threads while a progress bar runs; saved as PNG or CSV.
class frmDieSizeChart : public QDialog {
    Q_OBJECT
public:
    explicit frmDieSizeChart(QWidget* owner);
    ~frmDieSizeChart() override;

    /// Shows the window for the designer's inputs: the range ±50 % of their
    /// die size in 200 steps, computed at once.
    void showFor(const DesignInput& design);

    /// Computes the chart for the range and steps the boxes hold (a refusal
    /// in a message box otherwise).
    void cmdRun_Click();
    void cmdSavePng_Click();
    void cmdSaveCsv_Click();

    /// True while points are being computed.
    bool isRunning() const { return watcher_.isRunning(); }
    /// The points of the last finished run, in order.
    const std::vector<SweepPoint>& points() const { return points_; }

    QPointer<NumberBox> txtFrom, txtTo, txtSteps;
    QPointer<QPushButton> cmdRun, cmdSavePng, cmdSaveCsv, cmdClose;
    QPointer<QProgressBar> progress;
    QPointer<QChartView> view;

signals:
    /// A run finished and its chart is shown.
    void chartShown();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void runFinished();
    void stop();
    void showTip(const QPointF& at, bool entered);

    DesignInput design_;
    std::optional<ChartMark> mark_;
    SweepRequest running_;
    std::vector<SweepPoint> points_;
    QFutureWatcher<SweepPoint> watcher_;
};

} // namespace kerf::ui
