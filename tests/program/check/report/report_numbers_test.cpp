// SPDX-License-Identifier: GPL-3.0-or-later
// How the report writes its numbers: inches to their places, machine times.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "program/check/report/report_numbers.h"

namespace kerf {
namespace {

TEST(ReportNumbers, InchesAreRoundedToTheirPlacesAndWrittenInFull)
{
    EXPECT_EQ(inchesText(0.25, 4), "0.2500");
    EXPECT_EQ(inchesText(-1.23456789, 6), "-1.234568");
    EXPECT_EQ(inchesText(1e-12, 6), "0.000000");
    EXPECT_EQ(inchesText(std::numeric_limits<double>::infinity(), 4), "—");
    EXPECT_EQ(inchesText(-std::numeric_limits<double>::infinity(), 4), "—");
    const std::string huge = inchesText(1e300, 4);
    EXPECT_EQ(huge.size(), 301u + 1 + 4);
    EXPECT_EQ(huge.substr(0, 2), "10");
    EXPECT_EQ(huge.substr(huge.size() - 5), ".0000");
}

TEST(ReportNumbers, MachineTimesInSecondsMinutesAndHours)
{
    EXPECT_EQ(durationText(45.2), "45.2 秒");
    EXPECT_EQ(durationText(185), "3 分 05 秒");
    EXPECT_EQ(durationText(2 * 3600 + 7 * 60 + 9), "2 小時 07 分 09 秒");
    EXPECT_EQ(durationText(-1), "—");
    EXPECT_EQ(durationText(std::nan("")), "—");
    EXPECT_FALSE(durationText(1e300).empty());
}

} // namespace
} // namespace kerf
