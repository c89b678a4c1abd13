#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "program/check/cut_check.h"
#include "program/reader/program_reader.h"

namespace kerf::ui {

/// One figure of the report beside the preview: its label, its value, and
/// whether it is a fault (shown in red).
struct ReportFigure {
    std::string label;
    std::string value;
    bool fault = false;

    bool operator==(const ReportFigure&) const = default;
};

/// The report in the window's words (Traditional Chinese only; numbers with
/// "." whatever the locale): a verdict, the figures in a fixed order, and one
/// line per die or cut that the report lists (with a last line counting those
/// it does not list).
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

/// The figures are, in this order: 切割次數, 切割遍數, 切割長度, 移動長度,
/// 完整切割的晶粒, 未完整切割的晶粒, 有效圓外的切割, 不在晶粒邊上的切割,
/// 結束位置, 預估加工時間. A report of a check that could not be carried out
/// has no figures and an unchecked verdict.
ReportText describeReport(const CutReport& report);

/// A program text that is no program: the verdict names the line, what is
/// wrong with it and the line as `text` has it (when given).
ReportText describeProgramError(const ProgramError& error, std::string_view text = {});

/// The verdict on a program that could not be checked for `reason` (in words).
ReportText uncheckedVerdict(const std::string& reason);

/// A machine time: «45.2 秒», «3 分 05 秒», «2 小時 07 分 09 秒».
std::string durationText(double seconds);

/// Inches with `places` digits after the point («1.2500»), no "-" before a
/// value that shows as zero.
std::string inchesText(double inches, int places);

} // namespace kerf::ui
