// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "cli_run.h"

using kerf::testing::CliRun;
using kerf::testing::run;
using kerf::testing::TemporaryFolder;

namespace {

int count(const std::string& text, const std::string& what)
{
    int n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

} // namespace

TEST(CliDesign, PrintsTheLayoutAsJson)
{
    const CliRun r = run({"design", "--wafer", "2.0 Inches", "--shape", "Circle", "--die", "50", "--gap", "2"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind("{\"shape\": \"Circle\", \"DiePitch\": \"0.052\", \"RowPitch\": \"0.045033\", "
                          "\"HexHalfSide\": null,\n \"RowTable\": [{\"DieCount\": 35, \"PosX\": \"1.741\", "
                          "\"PosY\": \"2.625\", \"RelX\": \"-0.91\", \"RelY\": \"0\"}, ",
                          0),
              0u)
        << r.out.substr(0, 300);
    EXPECT_EQ(count(r.out, "\"DieCount\""), 41);
    EXPECT_NE(r.out.find("\"ColumnTable\": [],"), std::string::npos);
    EXPECT_NE(r.out.find("\"results\": {\"rows\": \"41\", \"dies\": \"1159\", \"utilisation\": \"80.26\"}}\n"),
              std::string::npos);
}

TEST(CliDesign, SquaresFillTheColumnTable)
{
    const CliRun r = run({"design", "--wafer", "2.0 Inches", "--shape", "Square", "--die", "100"});
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(count(r.out, "\"DieCount\""), 38); // 19 row lines and 19 column lines
}

TEST(CliDesign, EffectiveDiameterDefaultsToTheSizesOwnText)
{
    const CliRun implicit = run({"design", "--wafer", "3.0 Inches", "--shape", "Hexagon", "--die", "80"});
    const CliRun explicitText = run({"design", "--wafer", "3.0 Inches", "--shape", "Hexagon", "--die", "80", "--effective", "2.85"});
    EXPECT_EQ(implicit.out, explicitText.out);
    // An emptied box means the nominal diameter.
    const CliRun emptied = run({"design", "--wafer", "3.0 Inches", "--shape", "Hexagon", "--die", "80", "--effective", ""});
    const CliRun nominal = run({"design", "--wafer", "3.0 Inches", "--shape", "Hexagon", "--die", "80", "--effective=3"});
    EXPECT_EQ(emptied.out, nominal.out);
    EXPECT_NE(emptied.out, implicit.out);
}

TEST(CliDesign, WithoutAWaferSizeSaysSo)
{
    const CliRun r = run({"design", "--shape", "Circle", "--die", "50"});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.starts_with("kerfwright-cli: design：缺少必要的選項 --wafer。\n")) << r.err;
    EXPECT_TRUE(r.out.empty());
}

TEST(CliDesign, RefusalsPrintThePromptAndExitOne)
{
    const CliRun r = run({"design", "--wafer", "2.0 Inches", "--shape", "Circle", "--die", "50", "--effective", "2.5"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "kerfwright-cli: 晶片有效直徑大於實際直徑，請確認正確數值。\n");
    EXPECT_EQ(run({"design", "--wafer", "2.0 Inches", "--shape", "Circle", "--die", "."}).status, 1);
    EXPECT_EQ(run({"design", "--wafer", "2.0 Inches", "--shape", "Circle", "--die", ""}).status, 1);
}

TEST(CliDesign, NoShapeGivesTheOutlineOnly)
{
    const CliRun r = run({"design", "--wafer", "2.0 Inches", "--die", "50"});
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.out.rfind("{\"shape\": null", 0), 0u);
}

TEST(CliUsage, ErrorsExitTwoAndHelpExitsZero)
{
    EXPECT_EQ(run({}).status, 2);
    EXPECT_EQ(run({"bogus"}).status, 2);
    EXPECT_EQ(run({"design", "--wafer", "2 Inches", "--die", "5"}).status, 2);
    EXPECT_EQ(run({"design", "--wafer", "2.0 Inches"}).status, 2);
    EXPECT_EQ(run({"design", "--die"}).status, 2);
    EXPECT_EQ(run({"design", "--die", "5", "--die", "6"}).status, 2);
    EXPECT_EQ(run({"design", "--colour", "red"}).status, 2);
    const CliRun help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("design"), std::string::npos);
    EXPECT_EQ(run({"design", "--help"}).status, 0);
}

TEST(CliSimulate, PrintsTheColumnsAsJson)
{
    const CliRun r = run({"simulate", "--wafer", "2.0 Inches", "--die", "100"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind("{\"shape\": \"Simulation\", \"DiePitch\": \"0.1\", \"RowPitch\": \"0.086604\", "
                          "\"HexHalfSide\": \"0.028868\",",
                          0),
              0u);
    EXPECT_EQ(count(r.out, "\"DieCount\""), 17);
    EXPECT_NE(r.out.find("\"RelX\": null"), std::string::npos);
    EXPECT_NE(r.out.find("\"results\": {\"rows\": \"17\", \"dies\": \"211\""), std::string::npos);
    EXPECT_EQ(run({"simulate", "--wafer", "2.0 Inches", "--die", "0"}).status, 1);
    EXPECT_EQ(run({"simulate", "--wafer", "2.0 Inches", "--die", "5", "--shape", "Circle"}).status, 2);
}

TEST(CliDesign, WritesTheDiesAsCsv)
{
    const std::string path = ::testing::TempDir() + "kerfwright-dies.csv";
    const CliRun r = run({"design", "--wafer", "2.0 Inches", "--shape", "Square", "--die", "250", "--effective", "0.72",
                          "--csv", path});
    ASSERT_EQ(r.status, 0) << r.err;
    std::ifstream file(path);
    const std::string csv((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    EXPECT_EQ(csv, "row,die,x,y\n1,1,-0.125,0.125\n1,2,0.125,0.125\n2,1,-0.125,-0.125\n2,2,0.125,-0.125\n");
    const CliRun failed = run({"design", "--wafer", "2.0 Inches", "--shape", "Square", "--die", "250", "--csv",
                               "/nonexistent-folder/dies.csv"});
    EXPECT_EQ(failed.status, 1);
    EXPECT_NE(failed.err.find("/nonexistent-folder/dies.csv"), std::string::npos);
    EXPECT_TRUE(failed.out.empty());
}

TEST(CliDesign, YieldObjectAfterTheResults)
{
    const std::vector<std::string> square = {"design", "--wafer", "2.0 Inches", "--shape", "Square", "--die", "200"};
    auto with = [&](std::vector<std::string> more) {
        std::vector<std::string> args = square;
        args.insert(args.end(), more.begin(), more.end());
        return run(args);
    };
    // 0.2 inches square: 0.258064 cm²; poisson at 1 defect per cm² keeps e^-0.258064 of 52 dies.
    const CliRun r = with({"--defects", "1", "--yield-model", "poisson", "--wafer-cost", "130"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\"dies\": \"52\""), std::string::npos) << r.out;
    EXPECT_TRUE(r.out.ends_with(
        "\"utilisation\": \"73.36\"},\n \"yield\": {\"model\": \"poisson\", \"defectDensity\": 1, \"dieAreaCm2\": "
        "0.25806400000000007, \"yield\": 0.7725457875943145, \"goodDies\": 40, \"costPerGoodDie\": 3.25}}\n"))
        << r.out.substr(r.out.size() - 300);
    // Nothing good: no cost, and why.
    EXPECT_TRUE(with({"--defects", "1e9", "--yield-model", "seeds", "--wafer-cost", "130"})
                    .out.ends_with("\"goodDies\": 0, \"costPerGoodDie\": null, \"costNote\": \"沒有良品晶粒，無法算出每顆良品的成本。\"}}\n"));
    // Refusals name the box, exit 1 and write nothing.
    const TemporaryFolder folder;
    const std::pair<std::vector<std::string>, std::string> refused[] = {
        {{"--defects", "-1", "--yield-model", "murphy"}, "缺陷密度"},
        {{"--defects", "x", "--yield-model", "murphy"}, "缺陷密度"},
        {{"--defects", "1", "--yield-model", "gauss"}, "良率模型「gauss」"},
        {{"--defects", "1"}, "未選擇良率模型"},
        {{"--defects", "1", "--yield-model", "bose-einstein", "--layers", "0.5"}, "關鍵層數 n"},
        {{"--defects", "1", "--yield-model", "negative-binomial", "--alpha", "0"}, "叢集參數 α"},
        {{"--defects", "1", "--yield-model", "moore", "--wafer-cost", "-5"}, "晶片成本"},
    };
    for (auto [args, box] : refused) {
        args.insert(args.end(), {"--save-job", folder.file("y.kwjob")});
        const CliRun no = with(args);
        EXPECT_EQ(no.status, 1);
        EXPECT_TRUE(no.out.empty());
        EXPECT_NE(no.err.find(box), std::string::npos) << no.err;
    }
    EXPECT_FALSE(std::filesystem::exists(folder.file("y.kwjob")));
    // The job keeps the texts as typed (version 2) and gives the same object back.
    ASSERT_EQ(with({"--defects", "1.0", "--yield-model", "poisson", "--wafer-cost", "130", "--save-job", folder.file("y.kwjob")}).status, 0);
    EXPECT_TRUE(kerf::testing::readFile(folder.path() / "y.kwjob")
                    .ends_with(",\n \"yield\":    {\"defects\": \"1.0\", \"model\": \"poisson\", \"cost\": \"130\"}}\n"));
    EXPECT_TRUE(kerf::testing::readFile(folder.path() / "y.kwjob").starts_with("{\"format\": \"kerfwright-job\", \"version\": 2,"));
    EXPECT_EQ(run({"design", "--job", folder.file("y.kwjob")}).out, r.out);
}
