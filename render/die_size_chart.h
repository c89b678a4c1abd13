// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <QImage>
#include <QSize>

#include "layout/die_size_sweep.h"
#include "yield/yield_settings.h"

class QChart;

namespace kerf::ui {

/// The design the chart marks: its die size and dies.
struct ChartMark {
    double dieMil = 0;
    double dies = 0;
};

/// The chart of a sweep: dies (left axis, solid) and area utilisation
/// (right axis, dashed) against the die size, one colour and one marker
/// shape per shape; refused sizes are left out; the mark, when given, is a
/// point on the dies axis. The axes tick at round numbers; the dies axis
/// counts in 萬 or 億 when they are that many. With yield settings each shape
/// also has its good dies (dies axis, dashed; the utilisation then dotted)
/// and a star at the size with the most good dies. The caller owns the chart.
QChart* makeDieSizeChart(const std::vector<SweepPoint>& points, const std::optional<ChartMark>& mark,
                         const std::optional<YieldSettings>& yield = std::nullopt);

/// The same chart drawn into an image of `size` pixels (needs a QApplication);
/// throws as map::allocatedImage and map::beginPainting do.
QImage drawDieSizeChart(const std::vector<SweepPoint>& points, const std::optional<ChartMark>& mark, QSize size,
                        const std::optional<YieldSettings>& yield = std::nullopt);

/// Writes `image` as a PNG at `path`, replacing a file there in one step;
/// the failure's message box prompt, or nothing when it was written.
std::optional<std::string> savePng(const QImage& image, const std::filesystem::path& path);

/// Writes the sweep's CSV at `path` the same way, with the yield columns when
/// there are yield settings.
std::optional<std::string> saveSweepCsv(const std::vector<SweepPoint>& points, const std::filesystem::path& path,
                                        const std::optional<YieldSettings>& yield = std::nullopt);

/// The sizes of the sweep the design refused, a line for each run of
/// neighbouring sizes of one shape refused for one reason: the shape, the
/// range and the reason; empty when none was refused.
QString refusalNote(const std::vector<SweepPoint>& points);

/// The step between round ticks (1, 2 or 5 times a power of ten) that
/// divides `span` into at most `most` parts.
double roundTickStep(double span, int most);

/// The tooltip of a point: shape, die size, dies and utilisation; with yield
/// settings also the yield, the good dies and the cost per good die.
QString pointTip(const SweepPoint& point, const std::optional<YieldSettings>& yield = std::nullopt);

} // namespace kerf::ui
