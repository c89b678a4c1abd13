#pragma once

#include <string>
#include <vector>

#include "codegen/cut_check.h"
#include "codegen/program_reader.h"

namespace kerf::ui {

/// One figure of the report beside the preview: its label, its value, and
/// whether it is a fault (shown in red).
struct ReportFigure {
    std::string label;
    std::string value;
    bool fault = false;

    bool operator==(const ReportFigure&) const = default;
};

/// The report in the window's words (Traditional Chinese; numbers with "."
/// whatever the locale): a verdict, the figures in a fixed order, and one line
/// per die or cut that the report lists (with a last line counting those it
/// does not list).
struct ReportText {
    std::string verdict;
    bool fault = false;
    std::vector<ReportFigure> figures;
    std::vector<std::string> details;
};

/// The figures are, in this order: 切割次數, 切割遍數, 切割長度, 移動長度,
/// 完整切割的晶粒, 未完整切割的晶粒, 有效圓外的切割, 不在晶粒邊上的切割, 結束位置.
ReportText describeReport(const CutReport& report);

/// A program text that is no program: the verdict names the line and what is
/// wrong with it.
ReportText describeProgramError(const ProgramError& error);

/// Inches with `places` digits after the point («1.2500»), no "-" before a
/// value that shows as zero.
std::string inchesText(double inches, int places);

} // namespace kerf::ui
