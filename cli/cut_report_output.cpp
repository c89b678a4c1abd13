// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cut_report_output.h"

#include <cmath>
#include <string>
#include <variant>
#include <vector>

#include "cli/json_text.h"
#include "program/check/report/cut_report_figures.h"
#include "program/check/report/edge_names.h"
#include "program/check/report/report_numbers.h"

namespace kerf::cli {

std::string jsonNumber(double value)
{
    if (!std::isfinite(value))
        return "null";
    std::string text = inchesText(value, 6);
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.')
        text.pop_back();
    return text;
}

namespace {

std::string jsonPoint(const ProgramPoint& p)
{
    return "{\"x\": " + jsonNumber(p.x) + ", \"y\": " + jsonNumber(p.y) + "}";
}

} // namespace

std::string jsonCuts(const std::vector<FlaggedCut>& cuts)
{
    std::string text = "[";
    for (std::size_t i = 0; i < cuts.size(); ++i)
        text += (i ? ", " : "") + ("{\"line\": " + std::to_string(cuts[i].line)) + ", \"from\": " +
                jsonPoint(cuts[i].from) + ", \"to\": " + jsonPoint(cuts[i].to) + "}";
    return text + "]";
}

namespace {

const char* jsonBool(bool value) { return value ? "true" : "false"; }

/// A count as a JSON number, or as the string «超過 9.2×10¹⁸» once past what 64 bits hold.
std::string jsonCount(std::uint64_t count)
{
    return count >= CountPast ? jsonString(countText(count)) : std::to_string(count);
}

std::int64_t nonNegative(std::int64_t n) { return std::max<std::int64_t>(n, 0); }

std::string jsonAmount(const FigureAmount& amount)
{
    if (const auto* count = std::get_if<std::uint64_t>(&amount))
        return jsonCount(*count);
    if (const auto* number = std::get_if<std::optional<double>>(&amount))
        return *number ? jsonNumber(**number) : "null";
    const HeadEnd& end = std::get<HeadEnd>(amount);
    return "{\"x\": " + jsonNumber(end.at.x) + ", \"y\": " + jsonNumber(end.at.y) +
           ", \"laserOff\": " + jsonBool(end.laserOff) + ", \"cutOpen\": " + jsonBool(end.cutOpen) + "}";
}

void writeJsonCuts(std::ostream& out, const char* name, const std::vector<FlaggedCut>& cuts)
{
    out << " \"" << name << "\": " << jsonCuts(cuts) << ",\n";
}

} // namespace

void writeCutReportText(std::ostream& out, std::string_view program, const CutReport& report)
{
    const ReportText text = describeReport(report);
    out << "程式檔：" << program << "（" << shapeText(report.shape) << "）\n";
    for (const ReportFigure& figure : text.figures) {
        out << figure.label << "：" << figure.value << '\n';
        if (!figure.note.empty())
            out << "  " << figure.note << '\n';
    }
    if (!text.details.empty()) {
        out << DetailsTitle << "：\n";
        for (const std::string& line : text.details)
            out << "  " << line << '\n';
    }
    out << FiguresTitle << "：" << text.verdict << '\n';
}

void writeCutReportJson(std::ostream& out, std::string_view program, const CutReport& r)
{
    out << "{\"program\": " << jsonString(program) << ", \"shape\": " << jsonString(shapeText(r.shape))
        << ", \"checked\": true, \"cancelled\": " << jsonBool(r.cancelled) << ",\n";
    for (const ReportFigure& figure : reportFigures(r))
        out << ' ' << jsonString(figure.key) << ": " << jsonAmount(figure.amount) << ",\n";
    out << " \"passesFrom\": " << jsonString(passSourceText(r.passSource)) << ", \"cuttingMotions\": "
        << jsonCount(r.cuttingMotions) << ", \"motions\": " << jsonCount(r.motions)
        << ", \"pointCuts\": " << jsonCount(r.pointCuts) << ",\n"
        << " \"dies\": " << jsonCount(nonNegative(r.dies)) << ", \"uncutEdges\": " << jsonCount(nonNegative(r.uncutEdges))
        << ",\n"
        << " \"machineTimeAssumption\": " << jsonString(machineTimeAssumption()) << ",\n";
    out << " \"uncut\": [";
    for (std::size_t i = 0; i < r.uncut.size(); ++i) {
        const UncutDie& die = r.uncut[i];
        out << (i ? ", " : "") << "{\"row\": " << die.row << ", \"die\": " << die.die
            << ", \"x\": " << jsonNumber(die.centre.x) << ", \"y\": " << jsonNumber(die.centre.y) << ", \"edges\": [";
        const std::vector<EdgeName> edges = edgesOf(r.shape, die.uncutEdges);
        for (std::size_t k = 0; k < edges.size(); ++k)
            out << (k ? ", " : "") << jsonString(edges[k].key);
        out << "], \"cuts\": " << die.cuts << "}";
    }
    out << "],\n";
    writeJsonCuts(out, "outside", r.outside);
    writeJsonCuts(out, "stray", r.stray);
    writeJsonCuts(out, "uncertain", r.uncertain);
    out << " \"allCut\": " << jsonBool(r.allCut()) << ", \"clean\": " << jsonBool(r.clean()) << "}\n";
}

void writeUncheckedJson(std::ostream& out, std::string_view program, const CutReport& r)
{
    out << "{\"program\": " << jsonString(program) << ", \"shape\": " << jsonString(shapeText(r.shape))
        << ", \"checked\": false, \"reason\": " << jsonString(uncheckedText(r.unchecked)) << "}\n";
}

} // namespace kerf::cli
