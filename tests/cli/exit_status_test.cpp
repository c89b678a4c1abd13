// SPDX-License-Identifier: GPL-3.0-or-later
// The one rule of the exit statuses, command by command: 2 a usage error or
// an input file that cannot be read, 1 a value a box would refuse (or a
// program that is wrong), 0 done.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/cli/cli_run.h"
#include "tests/cli/process_run.h"
#include "tests/support/temporary_folder.h"

namespace kerf::testing {
namespace {

struct StatusCase {
    const char* name;
    std::vector<std::string> args; // "@NAME" is the folder's file NAME
    int status;
    const char* said; // a part of stderr
};

class ExitStatusFolder {
public:
    ExitStatusFolder()
    {
        folder_.write("hex.kwjob", R"({"format": "kerfwright-job", "version": 1, "designer": )"
                                   R"({"wafer": "2.0 Inches", "shape": "Hexagon", "die": "200"}})");
        folder_.write("bad-shape.kwjob", R"({"format": "kerfwright-job", "version": 1, "designer": )"
                                         R"({"wafer": "2.0 Inches", "shape": "hexagon", "die": "200"}})");
        folder_.write("not-json.kwjob", "{");
        folder_.write("garbage.TXT", "not a program\r\n");
        std::filesystem::create_directory(folder_.path() / "folder.kwjob");
        const CliRun generated = run({"generate", "--job", folder_.file("hex.kwjob"), "--name", "HEX", "--out",
                                      folder_.path().string()});
        EXPECT_EQ(generated.status, 0) << generated.err;
    }
    std::vector<std::string> args(const std::vector<std::string>& words) const
    {
        std::vector<std::string> args;
        for (const std::string& word : words)
            args.push_back(word.starts_with("@") ? folder_.file(word.substr(1)) : word);
        return args;
    }
    std::string file(const std::string& name) const { return folder_.file(name); }

private:
    TemporaryFolder folder_;
};

TEST(CliExitStatus, OneRuleForEveryCommand)
{
    const ExitStatusFolder folder;
    const std::vector<StatusCase> cases = {
        {"version with words after it", {"--version", "extra"}, 2, "多餘的引數：extra"},
        {"help with words after it", {"--help", "extra"}, 2, "多餘的引數：extra"},
        {"missing job", {"design", "--job", "@none.kwjob"}, 2, "無法讀取：檔案不存在"},
        {"job that is a folder", {"check", "@HEX.TXT", "--job", "@folder.kwjob"}, 2, "無法讀取"},
        {"job that is not JSON", {"design", "--job", "@not-json.kwjob"}, 1, "不是正確的 JSON"},
        {"job shape not in its list", {"design", "--job", "@bad-shape.kwjob"}, 1, "designer.shape"},
        {"missing program", {"check", "@none.TXT", "--job", "@hex.kwjob"}, 2, "none.TXT"},
        {"missing program to draw", {"map", "--job", "@hex.kwjob", "--program", "@none.TXT", "--png", "@m.png"}, 2,
         "none.TXT"},
        {"garbage program", {"check", "@garbage.TXT", "--job", "@hex.kwjob"}, 1, "無法讀取"},
        {"die size refused", {"design", "--wafer", "2.0 Inches", "--shape", "Circle", "--die", "0"}, 1, ""},
        {"passes box refused", {"generate", "--job", "@hex.kwjob", "--name", "X", "--passes", "abc", "--out", "-"}, 1,
         ""},
        {"check passes out of range", {"check", "@HEX.TXT", "--job", "@hex.kwjob", "--passes", "0"}, 2, "--passes"},
        {"map size out of range", {"map", "--job", "@hex.kwjob", "--png", "-", "--size", "5"}, 2, "--size"},
        {"sweep range not a number",
         {"sweep", "--job", "@hex.kwjob", "--from", "abc", "--to", "5", "--steps", "3", "--csv", "-"}, 1,
         "晶粒尺寸範圍必須是大於 0 的數值"},
        {"sweep steps out of the box's range",
         {"sweep", "--job", "@hex.kwjob", "--from", "100", "--to", "200", "--steps", "1", "--csv", "-"}, 1,
         "點數必須是 2 到 10000 的整數"},
        {"sweep range backwards",
         {"sweep", "--job", "@hex.kwjob", "--from", "200", "--to", "100", "--steps", "3", "--csv", "-"}, 1,
         "起點必須小於終點"},
        {"sweep without shape or job", {"sweep", "--wafer", "2.0 Inches", "--from", "100", "--to", "200", "--steps",
                                        "3", "--csv", "-"},
         2, "--shape"},
        {"sweep takes the job's shape",
         {"sweep", "--job", "@hex.kwjob", "--from", "100", "--to", "200", "--steps", "3", "--csv", "-"}, 0, ""},
        {"simulate takes a job", {"simulate", "--job", "@hex.kwjob"}, 0, ""},
        {"check takes --program", {"check", "--program", "@HEX.TXT", "--job", "@hex.kwjob"}, 0, ""},
        {"check without a program", {"check", "--job", "@hex.kwjob"}, 2, "缺少要檢查的程式檔"},
        {"check with two programs", {"check", "@HEX.TXT", "--program", "@HEX.TXT", "--job", "@hex.kwjob"}, 2,
         "只能給一個"},
    };
    for (const StatusCase& c : cases) {
        const CliRun r = run(folder.args(c.args));
        EXPECT_EQ(r.status, c.status) << c.name << ": " << r.err;
        EXPECT_NE(r.err.find(c.said), std::string::npos) << c.name << ": " << r.err;
    }
}

TEST(CliExitStatus, JobFromStandardInput)
{
    const ExitStatusFolder folder;
    const ProcessRun read = runProcess({"design", "--job", "-"}, "", folder.file("hex.kwjob"));
    EXPECT_EQ(read.status, 0) << read.err;
    EXPECT_NE(read.out.find("\"Hexagon\""), std::string::npos) << read.out;
    const ProcessRun refused = runProcess({"design", "--job", "-"}, "", folder.file("bad-shape.kwjob"));
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("標準輸入的工作檔"), std::string::npos) << refused.err;
}

} // namespace
} // namespace kerf::testing
