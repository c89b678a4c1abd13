// SPDX-License-Identifier: GPL-3.0-or-later
// kerfwright-cli map --sinf / --e142 and design --bins: wafer maps out and a
// binned map back in.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "cli_run.h"

using kerf::testing::CliRun;
using kerf::testing::readFile;
using kerf::testing::run;
using kerf::testing::TemporaryFolder;

namespace {

const std::vector<std::string> Hexagons = {"--wafer", "2.0 Inches", "--shape", "Hexagon", "--die", "400", "--effective", "1.5"};

std::vector<std::string> with(std::vector<std::string> head, const std::vector<std::string>& tail)
{
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

} // namespace

TEST(DieMapCommand, SinfOnStandardOutputAndE142InAFile)
{
    const CliRun sinf = run(with(with({"map"}, Hexagons), {"--sinf", "-", "--device", "HEX400", "--wafer-id", "07"}));
    ASSERT_EQ(sinf.status, 0) << sinf.err;
    EXPECT_TRUE(sinf.out.starts_with("DEVICE:HEX400\nLOT:\nWAFER:07\nFNLOC:180\nROWCT:3\n")) << sinf.out;
    EXPECT_NE(sinf.out.find("RowData:01 __ 01 __ 01\n"), std::string::npos);

    const TemporaryFolder folder;
    const CliRun e142 = run(with(with({"map"}, Hexagons), {"--e142", folder.file("m.xml"), "--lot", "A&B"}));
    ASSERT_EQ(e142.status, 0) << e142.err;
    EXPECT_EQ(e142.out, folder.file("m.xml") + "\n");
    EXPECT_NE(readFile(folder.file("m.xml")).find("<LotId>A&amp;B</LotId>"), std::string::npos);
}

TEST(DieMapCommand, BinsOfAMapWithBadDies)
{
    const TemporaryFolder folder;
    std::string map = run(with(with({"map"}, Hexagons), {"--sinf", "-"})).out;
    map.replace(map.find("RowData:01 __ 01"), 16, "RowData:0C __ FF");
    folder.write("bins.sinf", map);
    const CliRun design = run(with(with({"design"}, Hexagons), {"--bins", folder.file("bins.sinf")}));
    ASSERT_EQ(design.status, 0) << design.err;
    const auto bins = nlohmann::json::parse(design.out).at("bins");
    EXPECT_EQ(bins.dump(), R"({"bad":2,"codes":{"01":5,"0C":1,"FF":1},"good":5})");
}

struct RefusedRun {
    const char* name;
    std::vector<std::string> args;
    int status;
    const char* message;
};

class RefusedDieMapRuns : public ::testing::TestWithParam<RefusedRun> {};

TEST_P(RefusedDieMapRuns, SayWhyAndWriteNothing)
{
    const TemporaryFolder folder;
    folder.write("square.sinf", run({"map", "--wafer", "2.0 Inches", "--shape", "Square", "--die", "400", "--sinf", "-"}).out);
    std::vector<std::string> args = GetParam().args;
    for (std::string& arg : args)
        if (arg.ends_with(".sinf"))
            arg = folder.file(arg);
    const auto before = folder.snapshot();
    const CliRun refused = run(args);
    EXPECT_EQ(refused.status, GetParam().status) << refused.err;
    EXPECT_NE(refused.err.find(GetParam().message), std::string::npos) << refused.err;
    EXPECT_EQ(folder.snapshot(), before);
}

INSTANTIATE_TEST_SUITE_P(
    DieMapCommand, RefusedDieMapRuns,
    ::testing::Values(
        RefusedRun{"another layout", with(with({"design"}, Hexagons), {"--bins", "square.sinf"}), 1, "這不是同一個佈局的晶圓圖：ROWCT 是"},
        RefusedRun{"no file", with(with({"design"}, Hexagons), {"--bins", "none.sinf"}), 2, "無法讀取晶圓圖"},
        RefusedRun{"line break", with(with({"map"}, Hexagons), {"--sinf", "out.sinf", "--lot", "a\nb"}), 1, "LOT 的文字不可含控制字元"},
        RefusedRun{"no shape", {"map", "--wafer", "2.0 Inches", "--die", "400", "--sinf", "out.sinf"}, 1, "沒有選擇晶粒形狀"},
        RefusedRun{"two outputs", with(with({"map"}, Hexagons), {"--sinf", "out.sinf", "--png", "out.png"}), 2, "其中之一"}));
