// SPDX-License-Identifier: GPL-3.0-or-later
// The machine values a program sets, as the job sheet prints them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "program/reader/program_settings.h"

using namespace kerf;

namespace {

struct SettingsCase {
    const char* name;
    const char* text;
    std::vector<std::string> DVL, DAC, VEL, ACC;
};

const SettingsCase SettingsCases[] = {
    {"SettingLines", "PN A\r\nDI 1 10000\r\nII\r\nSP DVL = 0.9\r\nSP DAC = 7.0\r\nSP TIM = 0.0\r\nEI\r\n", {"0.9"}, {"7.0"}, {}, {}},
    {"ArcSpeeds", "  MI X 0.9 Y 0.0 ARC -360.0 VEL 0.6 ACC 6.0\nMI X 1 Y 0 ARC 360 VEL 0.8 ACC 6.0\n", {}, {}, {"0.6", "0.8"}, {"6.0"}},
    {"EachValueOnceInOrder", "SP DVL = 2\nSP DVL = 1\nSP DVL = 2\n", {"2", "1"}, {}, {}, {}},
    {"NotSettings", "# SP DVL = 5\nSPX DVL = 5\nSP DVL 5\nMI X 1 Y 2\nMA X 1 ARC 2 VEL 3\n", {}, {}, {}, {}},
};

class ProgramSettingsCase : public ::testing::TestWithParam<SettingsCase> {};

TEST_P(ProgramSettingsCase, ReadsTheValuesAsWritten)
{
    const SettingsCase& c = GetParam();
    const ProgramSettings settings = programSettings(c.text);
    EXPECT_EQ(settings.DVL.texts, c.DVL);
    EXPECT_EQ(settings.DAC.texts, c.DAC);
    EXPECT_EQ(settings.VEL.texts, c.VEL);
    EXPECT_EQ(settings.ACC.texts, c.ACC);
}

INSTANTIATE_TEST_SUITE_P(Settings, ProgramSettingsCase, ::testing::ValuesIn(SettingsCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ProgramSettings, KeepsAFewValuesAndSaysThereAreMore)
{
    std::string text;
    for (int i = 0; i < 100; ++i)
        text += "SP DAC = " + std::to_string(i) + "\n";
    const ProgramSettings settings = programSettings(text);
    EXPECT_EQ(settings.DAC.texts, (std::vector<std::string>{"0", "1", "2", "3"}));
    EXPECT_TRUE(settings.DAC.more);
    EXPECT_FALSE(settings.DVL.more);
}

} // namespace
