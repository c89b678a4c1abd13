#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <QImage>
#include <QSize>

#include "layout/die_size_sweep.h"

class QChart;

namespace kerf::ui {

/// The design the chart marks: its die size and dies.
struct ChartMark {
    double dieMil = 0;
    double dies = 0;
};

/// The chart of a sweep: dies (left axis, solid) and area utilisation
/// (right axis, dashed) against the die size, one colour per shape; refused
/// sizes are left out; the mark, when given, is a point on the dies axis. The caller owns the chart.
QChart* makeDieSizeChart(const std::vector<SweepPoint>& points, const std::optional<ChartMark>& mark);

/// The same chart drawn into an image of `size` pixels (needs a QApplication);
/// throws as map::allocatedImage and map::beginPainting do.
QImage drawDieSizeChart(const std::vector<SweepPoint>& points, const std::optional<ChartMark>& mark, QSize size);

/// Writes `image` as a PNG at `path`, replacing a file there in one step;
/// the failure's message box prompt, or nothing when it was written.
std::optional<std::string> savePng(const QImage& image, const std::filesystem::path& path);

/// Writes the sweep's CSV at `path` the same way.
std::optional<std::string> saveSweepCsv(const std::vector<SweepPoint>& points, const std::filesystem::path& path);

/// The tooltip of a point: shape, die size, dies and utilisation.
QString pointTip(const SweepPoint& point);

} // namespace kerf::ui
