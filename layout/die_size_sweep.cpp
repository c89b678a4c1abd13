// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/die_size_sweep.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "layout/die_area.h"

namespace kerf {

std::optional<std::string> sweepRequestFault(const SweepRequest& request)
{
    if (!std::isfinite(request.fromMil) || !std::isfinite(request.toMil) || request.fromMil <= 0
        || request.toMil <= 0)
        return "晶粒尺寸範圍必須是大於 0 的數值（mil）。";
    if (request.fromMil >= request.toMil)
        return "晶粒尺寸範圍的起點必須小於終點。";
    if (request.steps < MinSweepSteps || request.steps > MaxSweepSteps)
        return "點數必須是 2 到 10000 的整數。";
    if (request.shapes.empty())
        return "未選擇晶粒形狀。";
    return std::nullopt;
}

std::string dieSizeText(double mil)
{
    // Fixed with four decimals, whatever the locale, then without the trailing zeros.
    char text[64];
    const auto [end, ec] = std::to_chars(text, text + sizeof text, mil, std::chars_format::fixed, 4);
    std::string size(text, ec == std::errc() ? end : text);
    if (size.find('.') != std::string::npos) {
        size.erase(size.find_last_not_of('0') + 1);
        if (size.back() == '.')
            size.pop_back();
    }
    return size;
}

std::string sweepDieSize(const SweepRequest& request, int index)
{
    return dieSizeText(request.fromMil + (request.toMil - request.fromMil) * index / (request.steps - 1));
}

std::size_t sweepPointCount(const SweepRequest& request)
{
    return request.shapes.size() * static_cast<std::size_t>(std::max(request.steps, 0));
}

SweepPoint sweepPoint(const SweepRequest& request, std::size_t index)
{
    const std::size_t steps = static_cast<std::size_t>(request.steps);
    SweepPoint point;
    point.shape = request.shapes[index / steps];
    point.dieSize = sweepDieSize(request, static_cast<int>(index % steps));
    std::from_chars(point.dieSize.data(), point.dieSize.data() + point.dieSize.size(), point.dieMil);
    DesignInput input = request.base;
    input.texts.shape = point.shape;
    input.texts.dieSize = point.dieSize;
    const DesignResultsOutcome outcome = designResults(input);
    if (const auto* designed = std::get_if<DesignedResults>(&outcome)) {
        point.results = designed->results;
        point.dieAreaCm2 = designed->dieAreaCm2;
    } else if (const auto* refusal = std::get_if<Refusal>(&outcome))
        point.refusal = refusal->prompt;
    else
        point.refusal = "未選擇晶粒形狀。"; // a shape outside the list: only the outline
    return point;
}

std::vector<SweepPoint> sweepDieSizes(const SweepRequest& request)
{
    std::vector<SweepPoint> points;
    points.reserve(sweepPointCount(request));
    for (std::size_t i = 0; i < sweepPointCount(request); ++i)
        points.push_back(sweepPoint(request, i));
    return points;
}

namespace {

// A CSV field, quoted when it holds a comma, a quote or a line break.
std::string csvField(std::string_view text)
{
    if (text.find_first_of(",\"\r\n") == std::string_view::npos)
        return std::string(text);
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

} // namespace

void writeSweepCsv(std::ostream& out, const std::vector<SweepPoint>& points, const SweepCsvColumns* more)
{
    out << "shape,die_mil,rows,dies,utilisation_percent,refusal" << (more ? more->header : "") << '\n';
    for (const SweepPoint& point : points) {
        out << csvField(point.shape) << ',' << point.dieSize << ',';
        if (point.results)
            out << point.results->rows << ',' << point.results->dies << ',' << point.results->utilisation << ',';
        else
            out << ",,," << csvField(point.refusal);
        out << (more ? more->fields(point) : "") << '\n';
    }
}

} // namespace kerf
