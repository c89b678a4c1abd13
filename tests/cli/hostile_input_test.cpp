// SPDX-License-Identifier: GPL-3.0-or-later
// Hostile job files, streams, names and signals: each refused with its
// words and status, never an abort, a hang or a silent acceptance.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "process_run.h"
#include "tests/support/temporary_folder.h"

using kerf::testing::ProcessRun;
using kerf::testing::runProcess;
using kerf::testing::TemporaryFolder;

namespace {

const std::string SquaresProgram =
    (std::filesystem::path(KERF_GOLDEN_DIR) / "square-2in-500mil-chinese-name" / "expected.TXT").string();
const std::string Head = R"({"format": "kerfwright-job", "version": 1)";

struct HostileCase {
    std::string name;
    std::string job;                // written to the job file J, when not empty
    std::vector<std::string> args;  // "J" is the job file, "F" a file name in the folder
    std::string setup;              // run by the shell first
    int status;
    std::string said;
};

std::string replaced(std::string arg, const TemporaryFolder& folder)
{
    if (arg == "J")
        return folder.file("j.kwjob");
    if (arg.starts_with("F"))
        return folder.file(arg.substr(1));
    return arg;
}

// SIGXFSZ sent by another process while the command waits for its input,
// before anything is written; the process is told by its name and its state.
const std::string XfszWhileReading =
    "mkfifo \"$KERF_FIFO\" && { (exec 3>\"$KERF_FIFO\"; until grep -qs '(kerfwright-cli) S' /proc/$$/stat; "
    "do sleep 0.01; done; kill -XFSZ $$) >/dev/null 2>&1 & } && exec 0<\"$KERF_FIFO\"";

} // namespace

TEST(CliHostile, EachCaseEndsWithItsWordsAndStatus)
{
    const std::vector<std::string> check = {"check", SquaresProgram, "--job", "J"};
    const HostileCase cases[] = {
        {"number out of range", R"({"version": 1e400})", {"design", "--job", "J"}, "", 1, "的數值 1e400 超出範圍"},
        {"empty shape in check", Head + R"(, "designer": {"wafer": "2.0 Inches", "shape": "", "die": "500"}})", check, "",
         1, "沒有選擇晶粒形狀"},
        {"unknown shape", Head + R"(, "designer": {"wafer": "2.0 Inches", "shape": "hexagon", "die": "500"}})",
         {"design", "--job", "J"}, "", 1, "晶粒形狀「hexagon」不是清單的一項"},
        {"unknown shape in check", Head + R"(, "designer": {"shape": "Pentagon"}})", check, "", 1, "「Pentagon」"},
        {"key twice", Head + R"(, "designer": {"wafer": "2.0 Inches", "die": "300", "shape": "Square", "die": "50"}})",
         {"design", "--job", "J"}, "", 1, "鍵「designer.die」寫了兩次"},
        {"section twice", Head + R"(, "designer": {}, "designer": {}})", {"design", "--job", "J"}, "", 1,
         "鍵「designer」寫了兩次"},
        {"closed standard input", "", {"check", "-", "--wafer", "2.0 Inches", "--shape", "Square", "--die", "500"},
         "exec 0<&-", 2, "標準輸入已關閉"},
        {"empty csv name", "", {"design", "--wafer", "2.0 Inches", "--shape", "Square", "--die", "500", "--csv", ""}, "",
         2, "--csv 需要檔名"},
        {"folder that takes no file", "",
         {"generate", "--wafer", "2.0 Inches", "--shape", "Square", "--die", "500", "--name", "A", "--out", "/proc"}, "",
         1, "這個資料夾不能建立檔案。沒有留下不完整的檔案"},
        {"newline in a new name", "",
         {"design", "--wafer", "2.0 Inches", "--shape", "Square", "--die", "500", "--csv", "Fno\nfolder/d.csv"}, "", 1,
         "no\\nfolder/d.csv」失敗（建立新檔時）：資料夾不存在。沒有留下不完整的檔案。"},
        {"file size signal before writing", "",
         {"check", "-", "--wafer", "2.0 Inches", "--shape", "Square", "--die", "500"}, XfszWhileReading, 1,
         "檔案超過系統允許的大小，沒有寫入檔案"},
    };
    for (const HostileCase& c : cases) {
        const TemporaryFolder folder;
        if (!c.job.empty())
            folder.write("j.kwjob", c.job);
        std::vector<std::string> args;
        for (const std::string& arg : c.args)
            args.push_back(replaced(arg, folder));
        const std::string setup =
            c.setup.empty() ? "" : "KERF_FIFO='" + folder.file("fifo") + "' && " + c.setup;
        const ProcessRun r = runProcess(args, "", "/dev/null", setup);
        EXPECT_EQ(r.status, c.status) << c.name << ": " << r.err;
        EXPECT_NE(r.err.find(c.said), std::string::npos) << c.name << ": " << r.err;
        // One message, begun as the command line's, one line unless a usage follows.
        EXPECT_TRUE(r.err.starts_with("kerfwright-cli: ")) << c.name << ": " << r.err;
        if (c.status != 2 || !c.setup.empty())
            EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << c.name << ": " << r.err;
    }
}
