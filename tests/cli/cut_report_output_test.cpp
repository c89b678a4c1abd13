// SPDX-License-Identifier: GPL-3.0-or-later
#include <set>
#include <sstream>
#include <string>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "cli/cut_report_output.h"
#include "program/check/report/cut_report_figures.h"

namespace kerf {
namespace {

CutReport circleReport()
{
    CutReport r;
    r.shape = DieShape::Circle;
    r.cuts = 7;
    r.cutLength = 12.5;
    r.travelLength = 3.25;
    r.dies = 7;
    r.diesFullyCut = 6;
    r.uncutDies = 1;
    r.uncut.push_back(UncutDie{1, 2, {0.25, 0.5}, 0, 0});
    r.machineSeconds = 185;
    return r;
}

CutReport squareReport()
{
    CutReport r;
    r.shape = DieShape::Square;
    r.dies = 4;
    r.diesFullyCut = 4;
    return r;
}

TEST(ReportFigures, EveryFigureHasItsOwnKeyAndALabelAndTheListIsTheSameForEveryReport)
{
    const auto first = reportFigures(circleReport());
    const auto second = reportFigures(squareReport());
    ASSERT_EQ(first.size(), second.size());
    std::set<std::string_view> keys;
    for (std::size_t i = 0; i < first.size(); ++i) {
        EXPECT_FALSE(first[i].key.empty());
        EXPECT_FALSE(first[i].label.empty());
        EXPECT_FALSE(first[i].value.empty()) << first[i].key;
        EXPECT_TRUE(keys.insert(first[i].key).second) << "twice: " << first[i].key;
        EXPECT_EQ(first[i].key, second[i].key);
        EXPECT_EQ(first[i].label, second[i].label);
    }
}

TEST(ReportFigures, TheTextAndTheJsonOfCheckGiveEveryFigure)
{
    const CutReport report = circleReport();
    std::ostringstream text, json;
    cli::writeCutReportText(text, "P.TXT", report);
    cli::writeCutReportJson(json, "P.TXT", report);
    const auto parsed = nlohmann::json::parse(json.str());
    for (const ReportFigure& figure : reportFigures(report)) {
        EXPECT_NE(text.str().find(std::string(figure.label) + "：" + figure.value), std::string::npos) << figure.key;
        EXPECT_TRUE(parsed.contains(std::string(figure.key))) << figure.key;
    }
    EXPECT_EQ(parsed["cuts"], 7);
    EXPECT_EQ(parsed["diesFullyCut"], 6);
}

} // namespace
} // namespace kerf
