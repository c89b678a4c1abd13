// SPDX-License-Identifier: GPL-3.0-or-later
#include "program/check/report/cut_report_figures.h"

#include <algorithm>

#include "program/check/report/edge_names.h"
#include "program/check/report/report_numbers.h"

namespace kerf {

namespace {

/// A line of several moves run with the laser on.
constexpr const char* UncertainPathText = "雷射開啟時的兩段 MA：路徑不確定";

std::string count(std::int64_t n) { return countText(static_cast<std::uint64_t>(std::max<std::int64_t>(n, 0))); }

std::uint64_t amount(std::int64_t n) { return static_cast<std::uint64_t>(std::max<std::int64_t>(n, 0)); }

std::string pointText(const ProgramPoint& point)
{
    return "X " + inchesText(point.x, 6) + ", Y " + inchesText(point.y, 6);
}

std::string edgesText(DieShape shape, std::uint8_t mask)
{
    std::string text;
    for (const EdgeName& edge : edgesOf(shape, mask))
        text += (text.empty() ? "" : "、") + std::string(edge.label);
    return text;
}

std::string passSourceWords(PassSource source)
{
    switch (source) {
    case PassSource::Given: return "指定";
    case PassSource::Dies: return "依多數晶粒所得的切割次數";
    }
    return "";
}

std::string uncutLine(const CutReport& report, const UncutDie& die)
{
    std::string line = "第 " + std::to_string(die.row) + " 列第 " + std::to_string(die.die) + " 個晶粒（" +
                       pointText(die.centre) + "）：";
    if (report.shape == DieShape::Circle)
        return line + "切了 " + std::to_string(die.cuts) + " 圈，應切 " + std::to_string(report.passes) + " 圈";
    return line + edgesText(report.shape, die.uncutEdges) + "邊切割不足（最少的一邊切了 " +
           std::to_string(die.cuts) + " 次，應切 " + std::to_string(report.passes) + " 次）";
}

std::string cutLine(const FlaggedCut& cut, const char* what)
{
    return "程式第 " + std::to_string(cut.line) + " 行：" + what + "（從 " + pointText(cut.from) + " 到 " +
           pointText(cut.to) + "）";
}

void listMore(std::vector<std::string>& details, std::int64_t total, std::size_t listed, const char* what)
{
    if (total <= static_cast<std::int64_t>(listed))
        return;
    // A count past what 64 bits hold stays past when the listed are taken off.
    const std::int64_t more = amount(total) >= CountPast ? total : total - static_cast<std::int64_t>(listed);
    details.push_back("……另有 " + count(more) + " " + what + "未列出");
}

ReportFigure figure(std::string_view key, std::string_view label, std::string value, FigureAmount amount,
                    bool fault = false, std::string_view note = {})
{
    return {key, label, std::move(value), std::move(amount), fault, note};
}

std::string verdictOf(const CutReport& report)
{
    std::vector<std::string> problems;
    if (report.uncutDies > 0)
        problems.push_back(count(report.uncutDies) + " 個晶粒沒有完整切割");
    if (report.outsideCuts > 0)
        problems.push_back(count(report.outsideCuts) + " 道切割超出有效圓");
    if (report.strayCuts > 0)
        problems.push_back(count(report.strayCuts) + " 道切割不在晶粒邊上");
    if (report.uncertainPaths > 0)
        problems.push_back(count(report.uncertainPaths) + " 處" + UncertainPathText);
    if (report.zeroShifts > 0)
        problems.push_back(count(report.zeroShifts) + " 次 ZERO 不在原點執行，之後的座標已改以該處為原點");
    if (!report.laserOff)
        problems.push_back("程式結束時雷射沒有關閉");
    if (report.cutOpen)
        problems.push_back("最後的切割沒有以 CS 結束");
    if (report.cancelled)
        problems.push_back("檢查沒有做完");
    if (problems.empty())
        return {};
    std::string verdict = "程式有問題：";
    for (std::size_t i = 0; i < problems.size(); ++i)
        verdict += (i ? "；" : "") + problems[i];
    return verdict + "。";
}

} // namespace

std::vector<ReportFigure> reportFigures(const CutReport& report)
{
    const bool uncut = report.uncutDies > 0;
    std::string end = pointText(report.end) + " 英吋";
    if (!report.laserOff)
        end += "（雷射沒有關閉）";
    if (report.cutOpen)
        end += "（切割沒有以 CS 結束）";
    std::string uncutValue = count(report.uncutDies);
    if (report.uncutEdges > 0)
        uncutValue += "（未切足的邊 " + count(report.uncutEdges) + " 條）";

    const std::string passes = std::to_string(report.passes) + "（" + passSourceWords(report.passSource) + "）";
    const std::string machineTime =
        report.machineSeconds ? durationText(*report.machineSeconds) : "無法估計（有動作沒有速度）";
    const bool endFault = !report.laserOff || report.cutOpen;

    return {
        figure("cuts", "切割次數", countText(report.cuts), report.cuts),
        figure("passes", "切割遍數", passes, amount(report.passes)),
        figure("cutLength", "切割長度", inchesText(report.cutLength, 4) + " 英吋", std::optional(report.cutLength)),
        figure("travelLength", "移動長度", inchesText(report.travelLength, 4) + " 英吋",
               std::optional(report.travelLength)),
        figure("diesFullyCut", "完整切割的晶粒", count(report.diesFullyCut) + " / " + count(report.dies),
               amount(report.diesFullyCut), uncut),
        figure("uncutDies", "未完整切割的晶粒", uncutValue, amount(report.uncutDies), uncut),
        figure("outsideCuts", "有效圓外的切割", count(report.outsideCuts), amount(report.outsideCuts),
               report.outsideCuts > 0),
        figure("strayCuts", "不在晶粒邊上的切割", count(report.strayCuts), amount(report.strayCuts),
               report.strayCuts > 0),
        figure("uncertainPaths", "路徑不確定的切割", count(report.uncertainPaths), amount(report.uncertainPaths),
               report.uncertainPaths > 0),
        figure("zeroShifts", "不在原點的 ZERO", count(report.zeroShifts), amount(report.zeroShifts),
               report.zeroShifts > 0),
        figure("end", "結束位置", end, HeadEnd{report.end, report.laserOff, report.cutOpen}, endFault),
        figure("machineSeconds", "預估加工時間", machineTime, report.machineSeconds, false, machineTimeAssumption()),
    };
}

ReportText uncheckedVerdict(const std::string& reason)
{
    ReportText text;
    text.unchecked = true;
    text.verdict = reason + "這不表示程式有錯，但請勿以未經檢查的程式切割。";
    return text;
}

ReportText describeReport(const CutReport& report)
{
    if (report.unchecked != Unchecked::No)
        return uncheckedVerdict(uncheckedText(report.unchecked));
    ReportText text;
    text.figures = reportFigures(report);
    text.verdict = verdictOf(report);
    text.fault = !text.verdict.empty();
    if (!text.fault)
        text.verdict = "全部 " + count(report.dies) + " 個晶粒都已完整切割，沒有多餘的切割。";

    for (const UncutDie& die : report.uncut)
        text.details.push_back(uncutLine(report, die));
    listMore(text.details, report.uncutDies, report.uncut.size(), "個未完整切割的晶粒");
    for (const FlaggedCut& cut : report.outside)
        text.details.push_back(cutLine(cut, "切割超出有效圓"));
    listMore(text.details, report.outsideCuts, report.outside.size(), "道有效圓外的切割");
    for (const FlaggedCut& cut : report.stray)
        text.details.push_back(cutLine(cut, "切割不在晶粒邊上"));
    listMore(text.details, report.strayCuts, report.stray.size(), "道不在晶粒邊上的切割");
    for (const FlaggedCut& cut : report.uncertain)
        text.details.push_back(cutLine(cut, UncertainPathText));
    listMore(text.details, report.uncertainPaths, report.uncertain.size(), "處路徑不確定的切割");
    for (const std::uint32_t line : report.zeroShiftLines)
        text.details.push_back("程式第 " + std::to_string(line) + " 行：ZERO 不在原點，之後的座標以此處為原點");
    return text;
}

} // namespace kerf
