// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli_run.h"

using kerf::testing::CliRun;
using kerf::testing::readFile;
using kerf::testing::run;
using kerf::testing::TemporaryFolder;

namespace {

std::vector<std::string> hexagons400(std::vector<std::string> more)
{
    std::vector<std::string> args = {"generate", "--wafer", "2.0 Inches", "--shape", "Hexagon", "--die", "400",
                                     "--date", "2004/03/05"};
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

const std::filesystem::path GoldenFolder = KERF_GOLDEN_DIR;

} // namespace

TEST(CliGenerate, WritesTheProgramIntoTheFolderAndPrintsItsPath)
{
    TemporaryFolder folder;
    const CliRun r = run(hexagons400({"--name", "job", "--out", folder.path().string()}));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, (folder.path() / "job.TXT").string() + "\n");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(readFile(folder.path() / "job.TXT"), readFile(GoldenFolder / "hexagon-2in-400mil-one-way/expected.TXT"));
}

TEST(CliGenerate, DashWritesTheProgramToStandardOutput)
{
    const CliRun r = run(hexagons400({"--name", "job", "--passes", "2", "--out", "-"}));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, readFile(GoldenFolder / "hexagon-2in-400mil-two-way/expected.TXT"));
    EXPECT_EQ(r.err, "");
    // Four passes typed, one there and back cut: said on stderr, the program the same.
    const CliRun four = run(hexagons400({"--name", "job", "--passes", "4", "--out", "-"}));
    EXPECT_EQ(four.out, r.out);
    EXPECT_TRUE(four.err.starts_with("kerfwright-cli: 切割次數為 4，但六角形的程式只切一趟來回")) << four.err;
}

TEST(CliGenerate, DefaultFolderIsTheCurrentOne)
{
    const TemporaryFolder folder;
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(folder.path());
    const CliRun r = run(hexagons400({"--name", "job"}));
    std::filesystem::current_path(before);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "./job.TXT\n");
    EXPECT_TRUE(std::filesystem::exists(folder.path() / "job.TXT"));
}

TEST(CliGenerate, PresetFolderFromTheEnvironment)
{
    const TemporaryFolder folder;
    ::setenv("KERFWRIGHT_PROGRAM_DIR", folder.path().c_str(), 1);
    const CliRun r = run(hexagons400({"--name", "job"}));
    // A folder that cannot be written: one message that names the ways out.
    ::setenv("KERFWRIGHT_PROGRAM_DIR", "/nonexistent/kerfwright", 1);
    const CliRun refused = run(hexagons400({"--name", "job"}));
    ::unsetenv("KERFWRIGHT_PROGRAM_DIR");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, (folder.path() / "job.TXT").string() + "\n");
    EXPECT_TRUE(std::filesystem::exists(folder.path() / "job.TXT"));
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(refused.err.starts_with("kerfwright-cli: ")) << refused.err;
    EXPECT_TRUE(refused.err.ends_with("請以 --out 或環境變數 KERFWRIGHT_PROGRAM_DIR 指定可寫入的資料夾。\n")) << refused.err;
    EXPECT_EQ(std::count(refused.err.begin(), refused.err.end(), '\n'), 1);
}

TEST(CliGenerate, EmptiedVelBoxFollowsTheDvlBox)
{
    const CliRun r = run({"generate", "--wafer", "2.0 Inches", "--shape", "Circle", "--die", "100", "--gap", "2",
                          "--name", "job", "--dvl", "0.8", "--vel", "", "--acc", "9", "--out", "-"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("MI X 0.05 Y 0.0 ARC -360.0 VEL 0.8 ACC 9\r\n"), std::string::npos);
    EXPECT_NE(r.out.find("SP DVL = 0.8\r\nSP DAC = 6.0\r\n"), std::string::npos);
}

struct Refused {
    std::vector<std::string> args;
    std::string message;
};

void PrintTo(const Refused& c, std::ostream* out) { *out << ::testing::PrintToString(c.args); }

class CliGenerateRefuses : public ::testing::TestWithParam<Refused> {};

TEST_P(CliGenerateRefuses, WithThePromptAndWritesNothing)
{
    TemporaryFolder folder;
    std::vector<std::string> args = GetParam().args;
    args.insert(args.end(), {"--out", folder.path().string()});
    const CliRun r = run(args);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "kerfwright-cli: " + GetParam().message + "\n");
    EXPECT_EQ(folder.snapshot().size(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Runs, CliGenerateRefuses,
    ::testing::Values(
        Refused{hexagons400({"--name", ""}), "未輸入欲產生的檔名，請輸入檔名。"},
        Refused{hexagons400({"--name", "../job"}), "檔名不可含有「/」或「\\」，請只輸入檔名，不要輸入資料夾路徑。"},
        Refused{hexagons400({"--name", "job", "--passes", "1000"}),
                "切割次數最多 3 個字元，請輸入 1 到 999 之間的整數。"},
        Refused{hexagons400({"--name", "job", "--passes", "-1"}), "切割次數至少要 1 次，請輸入 1 到 999 之間的整數。"},
        Refused{hexagons400({"--name", "job", "--acc", "😀"}),
                "ACC 必須是數字（例如 6.0），不可含有空格或其他文字，請修改。"},
        Refused{hexagons400({"--name", "😀"}),
                "「程式檔名」含有繁體中文字碼頁 CP950 無法表示的字元「😀」，請修改後再產生程式碼。"},
        Refused{{"generate", "--wafer", "2.0 Inches", "--shape", "Circle", "--die", "1900", "--name", "job"},
                "晶粒尺寸或微調值不合常理，請確認正確數值。"},
        Refused{{"generate", "--wafer", "2.0 Inches", "--die", "100", "--name", "job"}, "無晶片資料可以產生程式碼。"}));

TEST(CliGenerate, UsageErrorsExitWithTwo)
{
    for (const std::vector<std::string>& args :
         {hexagons400({}), hexagons400({"--name", "job", "--out", ""}),
          std::vector<std::string>{"generate", "--wafer", "2.0 Inches", "--shape", "Hexagon", "--die", "400",
                                   "--name", "job", "--date", "2004-03-05"},
          std::vector<std::string>{"generate", "--wafer", "2.0 Inches", "--shape", "Hexagon", "--die", "400",
                                   "--name", "job", "--date", "2004/02/30"}}) {
        const CliRun r = run(args);
        EXPECT_EQ(r.status, 2) << r.err;
        EXPECT_EQ(r.out, "");
    }
}
