// SPDX-License-Identifier: GPL-3.0-or-later
// The report in words: figures, faults, listed dies and cuts.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "program/check/report/cut_report_figures.h"
#include "program/check/report/report_numbers.h"

namespace kerf {
namespace {

CutReport cleanSquares()
{
    CutReport report;
    report.shape = DieShape::Square;
    report.passes = 1;
    report.passSource = PassSource::Dies;
    report.cuts = 6;
    report.cutLength = 6.0;
    report.travelLength = 2 + 2 * 0.70710678;
    report.dies = 4;
    report.diesFullyCut = 4;
    report.machineSeconds = 12.5;
    return report;
}

TEST(CutReportText, CleanReportSaysSoWithNoFault)
{
    const ReportText text = describeReport(cleanSquares());
    EXPECT_FALSE(text.fault);
    EXPECT_EQ(text.verdict, "全部 4 個晶粒都已完整切割，沒有多餘的切割。");
    struct Expected {
        std::string key, label, value;
    };
    const std::vector<Expected> expected = {
        {"cuts", "切割次數", "6"},
        {"passes", "切割遍數", "1（依多數晶粒所得的切割次數）"},
        {"cutLength", "切割長度", "6.0000 英吋"},
        {"travelLength", "移動長度", "3.4142 英吋"},
        {"diesFullyCut", "完整切割的晶粒", "4 / 4"},
        {"uncutDies", "未完整切割的晶粒", "0"},
        {"outsideCuts", "有效圓外的切割", "0"},
        {"strayCuts", "不在晶粒邊上的切割", "0"},
        {"uncertainPaths", "路徑不確定的切割", "0"},
        {"zeroShifts", "不在原點的 ZERO", "0"},
        {"end", "結束位置", "X 0.000000, Y 0.000000 英吋"},
        {"machineSeconds", "預估加工時間", "12.5 秒"},
    };
    ASSERT_EQ(text.figures.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(text.figures[i].key, expected[i].key);
        EXPECT_EQ(text.figures[i].label, expected[i].label);
        EXPECT_EQ(text.figures[i].value, expected[i].value);
        EXPECT_FALSE(text.figures[i].fault) << expected[i].key;
    }
    // Only the machine time says how it is come by.
    EXPECT_EQ(text.figures.back().note, machineTimeAssumption());
    EXPECT_TRUE(text.details.empty());
}

TEST(CutReportText, FaultsAreMarkedAndNamed)
{
    CutReport report = cleanSquares();
    report.diesFullyCut = 1;
    report.uncutDies = 3;
    report.uncutEdges = 5;
    report.outsideCuts = 2;
    report.strayCuts = 1;
    report.uncertainPaths = 2;
    report.laserOff = false;
    report.cutOpen = true;
    report.zeroShifts = 2;
    report.zeroShiftLines = {19};
    report.end = {0.5, -0.25};
    const ReportText text = describeReport(report);
    EXPECT_TRUE(text.fault);
    EXPECT_EQ(text.verdict, "程式有問題：3 個晶粒沒有完整切割；2 道切割超出有效圓；1 道切割不在晶粒邊上；"
                            "2 處雷射開啟時的兩段 MA：路徑不確定；2 次 ZERO 不在原點執行，之後的座標已改以該處為原點；"
                            "程式結束時雷射沒有關閉；最後的切割沒有以 CS 結束。");
    EXPECT_EQ(text.details.back(), "程式第 19 行：ZERO 不在原點，之後的座標以此處為原點");
    ASSERT_EQ(text.figures.size(), std::size_t(12));
    EXPECT_EQ(text.figures[4].value, "1 / 4");
    EXPECT_EQ(text.figures[5].value, "3（未切足的邊 5 條）");
    EXPECT_EQ(text.figures[10].value, "X 0.500000, Y -0.250000 英吋（雷射沒有關閉）（切割沒有以 CS 結束）");
    const bool faults[] = {false, false, false, false, true, true, true, true, true, true, true, false};
    for (std::size_t i = 0; i < text.figures.size(); ++i)
        EXPECT_EQ(text.figures[i].fault, faults[i]) << text.figures[i].key;
}

TEST(CutReportText, UncutDiesAreListedWithTheirEdges)
{
    struct Case {
        const char* name;
        DieShape shape;
        int edges;
        int cuts;
        std::string line;
    };
    const Case cases[] = {
        {"hexagon, left and lower left", DieShape::Hexagon, 0b100001, 0,
         "第 2 列第 3 個晶粒（X -0.100000, Y 0.173205）：左、左下邊切割不足（最少的一邊切了 0 次，應切 2 次）"},
        {"hexagon, all six", DieShape::Hexagon, 0b111111, 1,
         "第 2 列第 3 個晶粒（X -0.100000, Y 0.173205）：左、左上、右上、右、右下、左下邊切割不足（最少的一邊切了 1 次，應切 2 次）"},
        {"square, top and bottom", DieShape::Square, 0b1010, 1,
         "第 2 列第 3 個晶粒（X -0.100000, Y 0.173205）：上、下邊切割不足（最少的一邊切了 1 次，應切 2 次）"},
        {"circle", DieShape::Circle, 0, 1, "第 2 列第 3 個晶粒（X -0.100000, Y 0.173205）：切了 1 圈，應切 2 圈"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CutReport report = cleanSquares();
        report.shape = c.shape;
        report.passes = 2;
        report.uncutDies = 1;
        report.diesFullyCut = 3;
        report.uncut = {UncutDie{2, 3, {-0.1, 0.173205}, static_cast<std::uint8_t>(c.edges), c.cuts}};
        const ReportText text = describeReport(report);
        ASSERT_EQ(text.details.size(), std::size_t(1));
        EXPECT_EQ(text.details[0], c.line);
    }
}

TEST(CutReportText, ListedCutsAndTheOnesNotListed)
{
    CutReport report = cleanSquares();
    report.uncutDies = 60;
    report.diesFullyCut = 0;
    report.dies = 60;
    report.uncut.assign(50, UncutDie{1, 1, {}, 1, 0});
    report.outsideCuts = 1;
    report.outside = {FlaggedCut{23, {-1, 0.5}, {1, 0.5}}};
    report.strayCuts = 3;
    report.stray = {FlaggedCut{40, {0, 0}, {0.1, 0}}};
    const ReportText text = describeReport(report);
    ASSERT_EQ(text.details.size(), std::size_t(50 + 1 + 1 + 1 + 1));
    EXPECT_EQ(text.details[50], "……另有 10 個未完整切割的晶粒未列出");
    EXPECT_EQ(text.details[51], "程式第 23 行：切割超出有效圓（從 X -1.000000, Y 0.500000 到 X 1.000000, Y 0.500000）");
    EXPECT_EQ(text.details[52], "程式第 40 行：切割不在晶粒邊上（從 X 0.000000, Y 0.000000 到 X 0.100000, Y 0.000000）");
    EXPECT_EQ(text.details[53], "……另有 2 道不在晶粒邊上的切割未列出");
}

TEST(CutReportText, InchesNeverShowMinusZero)
{
    struct Case {
        double inches;
        int places;
        std::string text;
    };
    const Case cases[] = {
        {-0.0, 6, "0.000000"},          // minus zero
        {-4e-7, 6, "0.000000"},         // a tiny negative
        {-6e-7, 6, "-0.000001"},        // just shown
        {3.14159265, 4, "3.1416"},      // four places
        {47217.95491, 4, "47217.9549"}, // large
        {std::nan(""), 4, "—"},         // not a number
    };
    for (const Case& c : cases)
        EXPECT_EQ(inchesText(c.inches, c.places), c.text) << c.inches;
}

TEST(CutReportText, TooLargeIsUncheckedNotFaulty)
{
    CutReport report = cleanSquares();
    report.unchecked = Unchecked::TooLarge;
    const ReportText text = describeReport(report);
    EXPECT_TRUE(text.unchecked && !text.fault);
    EXPECT_TRUE(text.figures.empty());
    EXPECT_EQ(text.verdict, "程式展開後太大，無法檢查。這不表示程式有錯，但請勿以未經檢查的程式切割。");
    report.unchecked = Unchecked::OutOfMemory;
    EXPECT_EQ(describeReport(report).verdict.rfind("記憶體不足，無法檢查。", 0), 0u);
}

TEST(CutReportText, MachineTimeInHoursMinutesAndSeconds)
{
    struct Case {
        double seconds;
        std::string text;
    };
    const Case cases[] = {
        {45.24, "45.2 秒"},
        {59.94, "59.9 秒"},    // just under a minute
        {59.96, "1 分 00 秒"}, // a minute
        {185.4, "3 分 05 秒"},
        {2 * 3600 + 7 * 60 + 9.0, "2 小時 07 分 09 秒"},
        {std::nan(""), "—"}, // no time
    };
    for (const Case& c : cases)
        EXPECT_EQ(durationText(c.seconds), c.text) << c.seconds;
    CutReport report = cleanSquares();
    report.machineSeconds.reset();
    EXPECT_EQ(describeReport(report).figures.back().value, "無法估計（有動作沒有速度）");
}

} // namespace
} // namespace kerf
