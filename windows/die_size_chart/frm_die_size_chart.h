// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <vector>

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>

#include "forms/background/background_job.h"
#include "forms/number_box.h"
#include "forms/yield_boxes.h"
#include "render/die_size_chart.h"
#include "layout/die_size_sweep.h"

class QChartView;

namespace kerf::ui {

/// The die-size chart: the dies and area utilisation of the three shapes
/// over a range of die sizes around the designer's, each point a design run
/// done in the background while a progress bar shows the share done; the
/// sizes the design refuses are named under the chart; saved as PNG or CSV.
/// With a defect density, also the good dies of each shape and the size
/// with the most.
class frmDieSizeChart : public QDialog {
    Q_OBJECT
public:
    explicit frmDieSizeChart(QWidget* owner);
    ~frmDieSizeChart() override;

    /// Shows the window for the designer's inputs: the range ±50 % of their
    /// die size in 200 steps, computed at once; the yield boxes get `yield`.
    void showFor(const DesignInput& design, const YieldTexts& yield = {});

    /// Computes the chart for the range, steps and yield settings the boxes
    /// hold (a refusal in a message box otherwise).
    void cmdRun_Click();
    void cmdSavePng_Click();
    void cmdSaveCsv_Click();

    /// True while points are being computed.
    bool isRunning() const { return job_.isPending(); }
    /// The background run of the points, for its progress and its end.
    const BackgroundJob<std::vector<SweepPoint>>& job() const { return job_; }
    /// The points of the last finished run, in order.
    const std::vector<SweepPoint>& points() const { return points_; }

    QPointer<NumberBox> txtFrom, txtTo, txtSteps;
    QPointer<YieldBoxes> yieldBoxes;
    QPointer<QPushButton> cmdRun, cmdSavePng, cmdSaveCsv, cmdClose;
    QPointer<QProgressBar> progress;
    /// The sizes the design refused, shape by shape, under the chart.
    QPointer<QLabel> refusedNote;
    QPointer<QChartView> view;

signals:
    /// A run finished and its chart is shown.
    void chartShown();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void runFinished(std::vector<SweepPoint> points);
    void runFailed(const std::string& failure);
    void stop();
    void showTip(const QPointF& at, bool entered);

    DesignInput design_;
    std::optional<ChartMark> mark_;
    std::optional<YieldSettings> yield_;        // of the run shown
    std::optional<YieldSettings> pendingYield_; // of the run going on
    std::vector<SweepPoint> points_;
    BackgroundJob<std::vector<SweepPoint>> job_;
};

} // namespace kerf::ui
