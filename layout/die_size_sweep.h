// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "layout/design_driver.h"

namespace kerf {

/// Die sizes from `fromMil` to `toMil` in `steps` even steps (both ends
/// included), each laid out for every shape of `shapes` by the design
/// button with the other boxes of `base` as they stand.
struct SweepRequest {
    DesignInput base; ///< the wafer, effective diameter and fine-tune; shape and die size are replaced
    std::vector<std::string> shapes;
    double fromMil = 0;
    double toMil = 0;
    int steps = 0;
};

/// The most points a sweep has per shape, and the fewest.
inline constexpr int MaxSweepSteps = 10000;
inline constexpr int MinSweepSteps = 2;

/// One die size of one shape: the die size box's text, and what the design
/// button gave for it: the result boxes' texts, or the refusal's prompt.
struct SweepPoint {
    std::string shape;
    std::string dieSize;
    double dieMil = 0;
    std::optional<LayoutResults> results;
    std::string refusal;
    double dieAreaCm2 = 0; ///< one die's area (layout/die_area.h); 0 when refused
};

/// Why a sweep request cannot run (its range or steps); nothing when it can.
std::optional<std::string> sweepRequestFault(const SweepRequest& request);

/// A die size in mil as the die size box's text: at most four decimals,
/// without trailing zeros, whatever the locale.
std::string dieSizeText(double mil);

/// The die size box's text of point `index` (0 to steps - 1): the size in
/// mil with at most four decimals, as the command line would take it.
std::string sweepDieSize(const SweepRequest& request, int index);

/// The number of points: steps × shapes.
std::size_t sweepPointCount(const SweepRequest& request);

/// Point `index` of the sweep (shape by shape, sizes ascending within each):
/// exactly what `runDesign` gives for its die size text.
SweepPoint sweepPoint(const SweepRequest& request, std::size_t index);

/// Every point of a valid request, in order.
std::vector<SweepPoint> sweepDieSizes(const SweepRequest& request);

/// The sweep as CSV: a header, then one line per point (shape, die size in
/// mil, rows, dies, utilisation in percent, refusal); a refused size has
/// empty results and its refusal's prompt. `more`, when given, appends its
/// columns to the header and its fields to every line.
struct SweepCsvColumns {
    std::string header; ///< ",name,name"
    std::function<std::string(const SweepPoint&)> fields; ///< ",value,value"
};
void writeSweepCsv(std::ostream& out, const std::vector<SweepPoint>& points, const SweepCsvColumns* more = nullptr);

} // namespace kerf
