// SPDX-License-Identifier: GPL-3.0-or-later
// kerfwright-cli sheet: the job sheet as a PDF, read back as its reader
// would with pdftotext, its SHA-256 against sha256sum's.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "cli_run.h"

using kerf::testing::CliRun;
using kerf::testing::run;
using kerf::testing::TemporaryFolder;

namespace {

const std::filesystem::path GoldenFolder = KERF_GOLDEN_DIR;
// 2.0 Inches, hexagons of 600 mil: rows of 2, 3 and 2 dies.
const std::string HexagonsProgram = (GoldenFolder / "hexagon-three-rows-one-way" / "expected.TXT").string();

/// What `command` prints on standard output.
std::string outputOf(const std::string& command)
{
    std::string text;
    if (std::FILE* pipe = popen(command.c_str(), "r")) {
        char block[4096];
        for (std::size_t n; (n = std::fread(block, 1, sizeof block, pipe)) > 0;)
            text.append(block, n);
        pclose(pipe);
    }
    return text;
}

/// Without blanks and line ends, which pdftotext places as the layout suggests.
std::string squeezed(std::string text)
{
    std::erase_if(text, [](char c) { return c == ' ' || c == '\n'; });
    return text;
}

std::string pdfText(const std::filesystem::path& pdf)
{
    return squeezed(outputOf("pdftotext -enc UTF-8 '" + pdf.string() + "' -"));
}

class CliSheet : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::ofstream(job) << R"({"format": "kerfwright-job", "version": 1,
 "designer": {"wafer": "2.0 Inches", "shape": "Hexagon", "die": "600"},
 "program": {"name": "JOB", "dvl": "0.7"}})";
    }
    TemporaryFolder folder;
    const std::string job = (folder.path() / "HEX.kwjob").string();
    const std::filesystem::path pdf = folder.path() / "sheet.pdf";
};

TEST_F(CliSheet, ThePdfHoldsTheJobTheProgramAndItsCheck)
{
    const std::filesystem::path program = folder.path() / "JOBA.TXT";
    std::filesystem::copy_file(HexagonsProgram, program);
    const CliRun r = run({"sheet", "--job", job, "--program", program.string(), "--pdf", pdf.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, pdf.string() + "\n");
    const std::string text = pdfText(pdf);
    const std::string sha256 = outputOf("sha256sum '" + program.string() + "'").substr(0, 64);
    ASSERT_EQ(sha256.size(), 64u);
    for (const std::string& figure :
         {std::string("HEX.kwjob"), std::string("2.0 Inches"), std::string("1.9 "), std::string("600 mil"),
          std::string("Hexagon"), std::string("3 列"), std::string("7 個"), std::string("0.7"), std::string("6.0"),
          std::string("JOBA.TXT"), folder.path().string(),
          std::to_string(std::filesystem::file_size(program)) + " 位元組", std::string("93 "),
          std::string("7 / 7"), std::string("29.1 秒"), sha256,
          // As written, searchable: no radicals in the place of 工, 片, 寸, 行.
          std::string("切割工作單"), std::string("晶片尺寸"), std::string("預估加工時間"), std::string("行數"),
          // The machine values are the program's, the job's beside them where it says otherwise.
          std::string("機台參數（取自程式）"), std::string("程式檔名：JOBA.TXT ≠ 工作：JOB.TXT"),
          std::string("DVL：0.6 ≠ 工作：0.7"), std::string("DAC：6.0"), std::string("切割次數：1"),
          std::string("VEL：不使用：程式沒有圓弧（工作：0.6）")})
        EXPECT_NE(text.find(squeezed(figure)), std::string::npos) << figure << " not in:\n" << text;
}

TEST_F(CliSheet, TheProgramsOwnSettingsAndPassesAreMarkedWhereTheJobDiffers)
{
    // A round-die program of two passes written at DVL 0.9, the job at DVL 0.6 and one pass.
    std::ofstream(job) << R"({"format": "kerfwright-job", "version": 1,
 "designer": {"wafer": "2.0 Inches", "shape": "Circle", "die": "400", "gap": "2"},
 "program": {"name": "RND", "dvl": "0.6", "passes": "1", "vel": "0.5"}})";
    const std::filesystem::path program = folder.path() / "RND.TXT";
    ASSERT_EQ(run({"generate", "--job", job, "--dvl", "0.9", "--passes", "2", "--vel", "0.8", "--out",
                   folder.path().string()}).status, 0);
    const CliRun r = run({"sheet", "--job", job, "--program", program.string(), "--pdf", pdf.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string text = pdfText(pdf);
    for (const char* figure : {"程式檔名：RND.TXT", "切割次數：2 ≠ 工作：1", "DVL：0.9 ≠ 工作：0.6",
                               "VEL：0.8 ≠ 工作：0.5", "ACC：6.0"})
        EXPECT_NE(text.find(squeezed(figure)), std::string::npos) << figure << " not in:\n" << text;
}

TEST_F(CliSheet, WithoutAProgramTheOneWrittenNowIsDescribed)
{
    const CliRun r = run({"sheet", "--job", job, "--pdf", pdf.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string text = pdfText(pdf);
    EXPECT_NE(text.find("JOB.TXT"), std::string::npos) << text;
    EXPECT_NE(text.find("7/7"), std::string::npos) << text;
    EXPECT_NE(text.find("26.3秒"), std::string::npos) << text; // the job's DVL of 0.7 in the program
}

TEST_F(CliSheet, GoodDiesWithTheJobsYieldSettings)
{
    std::ofstream(job) << R"({"format": "kerfwright-job", "version": 2,
 "designer": {"wafer": "2.0 Inches", "shape": "Hexagon", "die": "600"},
 "yield": {"defects": "0.5", "model": "poisson", "cost": "70"}})";
    ASSERT_EQ(run({"sheet", "--job", job, "--pdf", pdf.string()}).status, 0);
    // 7 hexagons of 2.0114 cm²: e^-1.0057 of them, 36.58 %, is 2 good dies at 35 each.
    const std::string text = pdfText(pdf);
    EXPECT_NE(text.find(squeezed("良品估算良率模型：poisson缺陷密度：0.5 個/cm²良率：36.58 %良品數：2 個每顆良品成本：35.00")),
              std::string::npos)
        << text;
}

TEST_F(CliSheet, RefusalsWriteNothing)
{
    const std::string missing = (folder.path() / "NONE.TXT").string();
    const CliRun noProgram = run({"sheet", "--job", job, "--program", missing, "--pdf", pdf.string()});
    EXPECT_EQ(noProgram.status, 2);
    EXPECT_EQ(noProgram.err, "kerfwright-cli: 無法讀取程式檔 " + missing + "：檔案不存在。\n");
    EXPECT_EQ(run({"sheet", "--job", missing, "--pdf", pdf.string()}).status, 1);
    const std::filesystem::path garbage = folder.path() / "garbage.TXT";
    std::ofstream(garbage) << "not a program\n";
    const CliRun notProgram = run({"sheet", "--job", job, "--program", garbage.string(), "--pdf", pdf.string()});
    EXPECT_EQ(notProgram.status, 1);
    EXPECT_TRUE(notProgram.err.starts_with("kerfwright-cli: ") && notProgram.err.find("garbage.TXT") != std::string::npos)
        << notProgram.err;
    std::ofstream(job) << R"({"format": "kerfwright-job", "version": 1, "designer": {"wafer": "2.0 Inches", "die": "50"}})";
    const CliRun noShape = run({"sheet", "--job", job, "--pdf", pdf.string()});
    EXPECT_EQ(noShape.status, 1);
    EXPECT_NE(noShape.err.find("沒有選擇晶粒形狀"), std::string::npos) << noShape.err;
    EXPECT_FALSE(std::filesystem::exists(pdf));
    EXPECT_EQ(run({"sheet", "--job", job}).status, 2);
}

} // namespace
