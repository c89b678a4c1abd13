// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "program/check/report/cut_report.h"

namespace kerf {

// The cut report in the words the preview window and kerfwright-cli check
// both give it (Traditional Chinese; numbers with "." whatever the locale):
// a verdict, the figures in a fixed order, and one line per die or cut that
// the report lists. The window, the text and the JSON of check are drawn
// from it.

/// The title of the figures.
inline constexpr std::string_view FiguresTitle = "檢查結果";
/// The title of the listed dies and cuts.
inline constexpr std::string_view DetailsTitle = "未完整切割的晶粒與多餘的切割";

/// Where the head ends and what is left on there.
struct HeadEnd {
    ProgramPoint at;
    bool laserOff = true;
    bool cutOpen = false;
};

/// What a figure counts or measures, as a number for the JSON: a count (from
/// CountPast on, past what 64 bits hold); a
/// length in inches or a time in seconds (none: it cannot be told); where the
/// head ends.
using FigureAmount = std::variant<std::uint64_t, std::optional<double>, HeadEnd>;

/// One figure of the report.
struct ReportFigure {
    std::string_view key;   // its name in the JSON: "cuts", "cutLength"
    std::string_view label; // its name in words: 切割次數
    std::string value;      // its value in words: «6.0000 英吋»
    FigureAmount amount;
    bool fault = false;     // it shows what is wrong with the program (in red)
    std::string_view note;  // how it is come by, where that needs saying
};

/// The report in words.
struct ReportText {
    std::string verdict;
    /// The program is wrong (shown in red).
    bool fault = false;
    /// The program could not be checked, which says nothing against it; no
    /// figures are given.
    bool unchecked = false;
    std::vector<ReportFigure> figures;
    std::vector<std::string> details;
};

/// The figures of a checked report, in this order: 切割次數 (cuts), 切割遍數
/// (passes), 切割長度 (cutLength), 移動長度 (travelLength), 完整切割的晶粒
/// (diesFullyCut), 未完整切割的晶粒 (uncutDies), 有效圓外的切割 (outsideCuts),
/// 不在晶粒邊上的切割 (strayCuts), 路徑不確定的切割 (uncertainPaths), 不在原點的 ZERO
/// (zeroShifts), 結束位置 (end), 預估加工時間 (machineSeconds). Their keys and labels are the same for every report.
std::vector<ReportFigure> reportFigures(const CutReport& report);

/// The whole report: the verdict, the figures and the listed dies and cuts
/// (with a last line for each list counting those it does not list). A report
/// of a check that could not be carried out has no figures and an unchecked
/// verdict.
ReportText describeReport(const CutReport& report);

/// The verdict on a program that could not be checked for `reason` (in words).
ReportText uncheckedVerdict(const std::string& reason);

} // namespace kerf
