// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <unistd.h>

#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli_run.h"
#include "tests/support/program_text.h"

using kerf::testing::CliRun;
using kerf::testing::run;

namespace {

const std::filesystem::path GoldenFolder = KERF_GOLDEN_DIR;
// 2.0 Inches, hexagons of 600 mil: rows of 2, 3 and 2 dies.
const std::string HexagonsProgram = (GoldenFolder / "hexagon-three-rows-one-way" / "expected.TXT").string();

std::vector<std::string> checkHexagons(const std::string& file, std::vector<std::string> more = {})
{
    std::vector<std::string> args = {"check", file, "--wafer", "2.0 Inches", "--shape", "Hexagon", "--die", "600"};
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

/// A copy of a program with its first `line` after the line `after` changed
/// (or removed when `with` is null).
class Changed {
public:
    Changed(const std::string& from, const std::string& line, const char* with, const std::string& after = "")
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "kerf-check-XXXXXX").string();
        folder_ = mkdtemp(pattern.data());
        path = (folder_ / "JOB.TXT").string();
        std::ifstream in(from, std::ios::binary);
        std::ofstream out(path, std::ios::binary);
        bool done = false;
        bool started = after.empty();
        for (std::string text; std::getline(in, text);) {
            if (!done && started && text == line + "\r") {
                done = true;
                if (!with)
                    continue;
                text = std::string(with) + "\r";
            }
            started |= text == after + "\r";
            out << text << '\n';
        }
        EXPECT_TRUE(done) << "no line " << line;
    }
    ~Changed() { std::filesystem::remove_all(folder_); }

    std::string path;

private:
    std::filesystem::path folder_;
};

bool has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

nlohmann::json parsed(const CliRun& r)
{
    const nlohmann::json json = nlohmann::json::parse(r.out, nullptr, false);
    EXPECT_TRUE(json.is_object()) << r.out;
    return json;
}

} // namespace

TEST(CliCheck, AGoodProgramIsReportedAllCutAndExitsZero)
{
    const CliRun r = run(checkHexagons(HexagonsProgram));
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_TRUE(r.err.empty());
    // The preview window's words, figure by figure.
    EXPECT_TRUE(r.out.starts_with("程式檔：" + HexagonsProgram + "（Hexagon）\n切割次數：4\n切割遍數：1（依多數晶粒所得的切割次數）\n"))
        << r.out;
    EXPECT_TRUE(has(r.out, "\n切割長度：11.7779 英吋\n移動長度：2.6486 英吋\n"));
    EXPECT_TRUE(has(r.out, "\n完整切割的晶粒：7 / 7\n未完整切割的晶粒：0\n"));
    EXPECT_TRUE(has(r.out, "\n有效圓外的切割：0\n不在晶粒邊上的切割：0\n"));
    EXPECT_TRUE(has(r.out, "\n結束位置：X 0.000000, Y 0.000000 英吋\n"));
    EXPECT_FALSE(has(r.out, "未完整切割的晶粒與多餘的切割")); // nothing to list
    EXPECT_TRUE(r.out.ends_with("\n檢查結果：全部 7 個晶粒都已完整切割，沒有多餘的切割。\n")) << r.out;
}

TEST(CliCheck, JsonHoldsTheSameReport)
{
    const CliRun r = run(checkHexagons(HexagonsProgram, {"--json"}));
    EXPECT_EQ(r.status, 0) << r.err;
    const nlohmann::json json = parsed(r);
    EXPECT_EQ(json["program"], HexagonsProgram);
    EXPECT_EQ(json["shape"], "Hexagon");
    EXPECT_EQ(json["checked"], true);
    EXPECT_EQ(json["cancelled"], false);
    EXPECT_EQ(json["passes"], 1);
    EXPECT_EQ(json["passesFrom"], "dies");
    EXPECT_EQ(json["cuts"], 4);
    EXPECT_EQ(json["cuttingMotions"], 34);
    EXPECT_EQ(json["motions"], 38);
    EXPECT_EQ(json["pointCuts"], 0);
    EXPECT_EQ(json["cutLength"], 11.777942);
    EXPECT_EQ(json["travelLength"], 2.648565);
    EXPECT_EQ(json["dies"], 7);
    EXPECT_EQ(json["diesFullyCut"], 7);
    EXPECT_EQ(json["uncutDies"], 0);
    EXPECT_EQ(json["uncutEdges"], 0);
    EXPECT_EQ(json["uncut"], nlohmann::json::array());
    EXPECT_EQ(json["outsideCuts"], 0);
    EXPECT_EQ(json["outside"], nlohmann::json::array());
    EXPECT_EQ(json["strayCuts"], 0);
    EXPECT_EQ(json["stray"], nlohmann::json::array());
    EXPECT_EQ(json["uncertainPaths"], 0);
    EXPECT_EQ(json["uncertain"], nlohmann::json::array());
    EXPECT_EQ(json["end"], nlohmann::json::parse(R"({"x": 0, "y": 0, "laserOff": true, "cutOpen": false})"));
    EXPECT_EQ(json["allCut"], true);
    EXPECT_EQ(json["clean"], true);
}

TEST(CliCheck, AMissingCutStartLeavesDiesUncutAndExitsOne)
{
    // The OS of the second row removed: its dies keep their sides and upper edges.
    const Changed missing(HexagonsProgram, "OS", nullptr, "# Row 2");
    const CliRun r = run(checkHexagons(missing.path));
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(has(r.out, "\n完整切割的晶粒：2 / 7\n未完整切割的晶粒：5（未切足的邊 12 條）\n"));
    EXPECT_TRUE(has(r.out, "\n未完整切割的晶粒與多餘的切割：\n"
                           "  第 1 列第 1 個晶粒（X -0.300000, Y 0.519615）：右下、左下邊切割不足（最少的一邊切了 0 次，應切 1 次）\n"));
    EXPECT_TRUE(has(r.out, "\n  第 2 列第 2 個晶粒（X 0.000000, Y 0.000000）：左、左上、右上、右邊切割不足（最少的一邊切了 0 次，應切 1 次）\n"));
    EXPECT_TRUE(r.out.ends_with("\n檢查結果：程式有問題：5 個晶粒沒有完整切割。\n")) << r.out;

    const CliRun json = run(checkHexagons(missing.path, {"--json"}));
    EXPECT_EQ(json.status, 1);
    const nlohmann::json report = parsed(json);
    ASSERT_EQ(report["uncut"].size(), 5u);
    EXPECT_EQ(report["uncut"][3], nlohmann::json::parse(R"({"row": 2, "die": 2, "x": 0, "y": 0,
        "edges": ["left", "upper left", "upper right", "right"], "cuts": 0})"));
    EXPECT_EQ(report["uncutEdges"], 12);
    EXPECT_EQ(report["allCut"], false);
    EXPECT_EQ(report["clean"], false);
}

TEST(CliCheck, AChangedMoveIsReportedAtItsLine)
{
    // Line 69: the second row's first cut, moved off its corner.
    const Changed moved(HexagonsProgram, "MI X 0.3 Y 0.173205", "MI X 0.3 Y 0.183205", "# Row 2");
    const CliRun r = run(checkHexagons(moved.path));
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(has(r.out, "\n不在晶粒邊上的切割：26\n")) << r.out;
    EXPECT_TRUE(has(r.out, "\n  程式第 69 行：切割不在晶粒邊上（從 X 0.600000, Y -0.346410 到 X 0.900000, Y -0.163205）\n"))
        << r.out;
    EXPECT_TRUE(has(r.out, "\n  ……另有 6 道不在晶粒邊上的切割未列出\n"));
    EXPECT_TRUE(has(r.out, "；26 道切割不在晶粒邊上。\n"));
}

TEST(CliCheck, TwoMovesOnALineWithTheLaserOnAreAFaultAtTheirLine)
{
    // Before the first row's CS: the machine may move axis by axis or straight.
    const Changed both(HexagonsProgram, "CS", "MA X 0.0 MA Y 0.0\r\nCS");
    const CliRun r = run(checkHexagons(both.path));
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(has(r.out, "\n路徑不確定的切割：1\n")) << r.out;
    EXPECT_TRUE(has(r.out, "行：雷射開啟時的兩段 MA：路徑不確定（從 ")) << r.out;
    EXPECT_TRUE(has(r.out, "；1 處雷射開啟時的兩段 MA：路徑不確定。\n")) << r.out;

    const nlohmann::json report = parsed(run(checkHexagons(both.path, {"--json"})));
    EXPECT_EQ(report["uncertainPaths"], 1);
    ASSERT_EQ(report["uncertain"].size(), 1u);
    EXPECT_EQ(report["uncertain"][0]["to"], nlohmann::json::parse(R"({"x": 0, "y": 0.34641})"));
    EXPECT_EQ(report["clean"], false);
}

TEST(CliCheck, AProgramThatIsNotWellFormedIsReportedWithItsLine)
{
    const Changed noEL(HexagonsProgram, "EL", nullptr); // row 1's loop left open: its SL is line 61
    const CliRun r = run(checkHexagons(noEL.path));
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.empty());
    EXPECT_TRUE(has(r.err, "不是正確的切割程式：程式第 61 行無法讀取：")) << r.err;

    const Changed unknown(HexagonsProgram, "OFF", "OFFF");
    const CliRun word = run(checkHexagons(unknown.path));
    EXPECT_EQ(word.status, 1);
    EXPECT_TRUE(has(word.err, "：程式第 91 行無法讀取：")) << word.err;
}

TEST(CliCheck, CutsOutsideTheEffectiveCircleFail)
{
    // The same program against a smaller effective circle: the outer dies'
    // edges fall outside it (and the design lays fewer dies).
    const CliRun r = run(checkHexagons(HexagonsProgram, {"--effective", "1.2"}));
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(has(r.out, "\n有效圓外的切割：")) << r.out;
    EXPECT_FALSE(has(r.out, "\n有效圓外的切割：0\n"));
    EXPECT_TRUE(has(r.out, "道切割超出有效圓"));
}

TEST(CliCheck, PassesAskedForThatTheProgramDoesNotCut)
{
    const CliRun r = run(checkHexagons(HexagonsProgram, {"--passes", "2"}));
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(has(r.out, "\n切割遍數：2（指定）\n"));
    EXPECT_TRUE(has(r.out, "邊切割不足（最少的一邊切了 1 次，應切 2 次）\n"));
}

TEST(CliCheck, RoundDiesAndSquares)
{
    const CliRun circle = run({"check", (GoldenFolder / "circle-2in-100mil-gap2" / "expected.TXT").string(), "--wafer",
                               "2.0 Inches", "--shape", "Circle", "--die", "100", "--gap", "2"});
    EXPECT_EQ(circle.status, 0) << circle.out;
    EXPECT_TRUE(has(circle.out, "\n切割遍數：1（依多數晶粒所得的切割次數）\n"));
    const CliRun squares = run({"check", (GoldenFolder / "square-4in-100mil-3passes" / "expected.TXT").string(), "--wafer",
                                "4.0 Inches", "--shape", "Square", "--die", "100"});
    EXPECT_EQ(squares.status, 0) << squares.out;
    EXPECT_TRUE(has(squares.out, "\n切割遍數：3（依多數晶粒所得的切割次數）\n"));
    // The wrong layout for a program: its cuts fit no die.
    const CliRun wrong = run({"check", (GoldenFolder / "square-4in-100mil-3passes" / "expected.TXT").string(),
                              "--wafer", "4.0 Inches", "--shape", "Square", "--die", "90"});
    EXPECT_EQ(wrong.status, 1);
    EXPECT_TRUE(has(wrong.out, "\n完整切割的晶粒：0 / "));
}

TEST(CliCheck, RefusalsExitOneAndUnreadableFilesTwo)
{
    const CliRun refused = run(checkHexagons(HexagonsProgram, {"--effective", "2.5"}));
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "kerfwright-cli: 晶片有效直徑大於實際直徑，請確認正確數值。\n");
    const CliRun empty = run(checkHexagons(HexagonsProgram, {"--effective", "1.9", "--gap", "."}));
    EXPECT_EQ(empty.status, 1);
    EXPECT_FALSE(empty.err.empty());
    const CliRun missing = run(checkHexagons("/nonexistent/JOB.TXT"));
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.err, "kerfwright-cli: 無法讀取程式檔 /nonexistent/JOB.TXT：檔案不存在。\n");
    const CliRun folder = run(checkHexagons(std::filesystem::temp_directory_path().string()));
    EXPECT_EQ(folder.status, 2);
    EXPECT_TRUE(has(folder.err, "無法讀取程式檔 ")) << folder.err;
    EXPECT_TRUE(has(folder.err, "這是一個資料夾，不是檔案")) << folder.err;
    // After "--" a file name that begins with "-" is the file's.
    const CliRun dashed = run({"check", "--wafer", "2.0 Inches", "--shape", "Hexagon", "--die", "600", "--", "-x.TXT"});
    EXPECT_EQ(dashed.status, 2);
    EXPECT_EQ(dashed.err, "kerfwright-cli: 無法讀取程式檔 -x.TXT：檔案不存在。\n");
}

TEST(CliCheck, UsageErrorsExitTwo)
{
    EXPECT_EQ(run({"check"}).status, 2);
    EXPECT_EQ(run({"check", "--wafer", "2.0 Inches", "--shape", "Hexagon", "--die", "600"}).status, 2);
    EXPECT_EQ(run({"check", HexagonsProgram, "--wafer", "2.0 Inches", "--die", "600"}).status, 2); // no --shape
    EXPECT_EQ(run({"check", HexagonsProgram, "--wafer", "2.0 Inches", "--shape", "Hexagon"}).status, 2); // no --die
    EXPECT_EQ(run(checkHexagons(HexagonsProgram, {"--passes", "0"})).status, 2);
    EXPECT_EQ(run(checkHexagons(HexagonsProgram, {"--passes", "2.5"})).status, 2);
    EXPECT_EQ(run(checkHexagons(HexagonsProgram, {"--json", "--json"})).status, 2);
    EXPECT_EQ(run(checkHexagons(HexagonsProgram, {"--colour", "red"})).status, 2);
    EXPECT_EQ(run(checkHexagons(HexagonsProgram, {"extra"})).status, 2);
    const CliRun help = run({"check", "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(has(help.out, "check FILE.TXT"));
}

// A program the check cannot finish within its bounds is not reported as a
// wrong one: exit 3, the reason in Traditional Chinese only.
TEST(CliCheck, AProgramBeyondTheBoundsCouldNotBeCheckedAndExitsThree)
{
    std::string pattern = (std::filesystem::temp_directory_path() / "kerf-check-XXXXXX").string();
    const std::filesystem::path folder = mkdtemp(pattern.data());
    const std::string path = (folder / "HUGE.TXT").string();
    {
        std::ofstream out(path, std::ios::binary);
        // Arcs that never close, each a little further round: equal copies
        // of a pass, far too many to match one by one.
        out << "PN HUGE\nDI 1 10000\nII\nMA X 0.5 Y 0\nOS\nSL 1300000000\nMI X 0.1 ARC 1\nEL\nCS\nEI\n";
    }
    for (const bool json : {false, true}) {
        std::vector<std::string> args = {"check", path, "--wafer", "2.0 Inches", "--shape", "Circle", "--die", "20"};
        if (json)
            args.push_back("--json");
        const CliRun r = run(args);
        EXPECT_EQ(r.status, 3) << r.out << r.err;
        EXPECT_TRUE(has(r.err, "無法檢查：程式展開後太大，無法檢查。")) << r.err;
        EXPECT_FALSE(has(r.err, "不是正確的切割程式"));
        for (const char c : r.err.substr(r.err.find("：")))
            EXPECT_FALSE((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) << r.err;
        if (json) {
            const nlohmann::json report = parsed(r);
            EXPECT_EQ(report["checked"], false);
            EXPECT_EQ(report["reason"], "程式展開後太大，無法檢查。");
        } else {
            EXPECT_TRUE(r.out.empty()) << r.out;
        }
    }
    std::filesystem::remove_all(folder);
}

// Hostile programs end with the right status and message, within the bounds
// of work and memory: nothing here depends on a clock.
TEST(CliCheck, HostileProgramsEndWithinTheBounds)
{
    const kerf::testing::TemporaryFolder folder;
    const std::string path = (folder.path() / "HOSTILE.TXT").string();
    const auto nested = kerf::testing::nestedRepeats;
    const std::string cut = "OS\nMI X 0.0002\nCS\n";
    std::string alternating; // passes that never repeat equally: the runs double per level
    for (int k = 0; k < 60; ++k)
        alternating += "SL 2\nMA X -0.5\n";
    alternating += cut;
    for (int k = 0; k < 60; ++k)
        alternating += "EL\n";
    const struct {
        std::string body;
        int status;
        const char* message;
    } cases[] = {
        {nested(200, "2", cut), 3, "無法檢查：程式展開後太大"},
        {nested(1000, "2", cut), 3, "無法檢查：程式展開後太大"},
        // Steps below the tolerance are cuts of no length: counted, nothing cut.
        {nested(2, "100000", "OS\nMI X 0.0000001\nCS\n"), 1, "未完整切割的晶粒：7"},
        {alternating, 3, "無法檢查：程式展開後太大"},
        {"SL 4294967295\nMAIN\nEL\n", 1, "不是正確的切割程式：程式第 5 行無法讀取：程式單元「MAIN」呼叫了自己"},
        {nested(2, "4294967295", "OS\nMI X 0.1\nMI X -0.1\nCS\n"), 1, "超過 9.2×10¹⁸ 道切割不在晶粒邊上"},
    };
    for (const auto& c : cases) {
        std::ofstream(path, std::ios::binary) << "PN MAIN\nDI 1 10000\nII\n" << c.body << "EI\n";
        const CliRun r = run(checkHexagons(path));
        EXPECT_EQ(r.status, c.status) << c.body.substr(0, 40) << r.err;
        EXPECT_TRUE(has(r.out + r.err, c.message)) << r.out << r.err;
    }
    // Counts past what 64 bits hold are strings in the JSON.
    const CliRun json = run(checkHexagons(path, {"--json"}));
    EXPECT_EQ(parsed(json)["cuts"], "超過 9.2×10¹⁸") << json.out;
    EXPECT_EQ(parsed(json)["strayCuts"], "超過 9.2×10¹⁸") << json.out;

    // Endless input through a pipe is refused once the memory bound is
    // reached; the bound here is what a data limit 64 MB above the present
    // use leaves.
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    const auto previous = std::signal(SIGPIPE, SIG_IGN);
    std::thread writer([in = ends[1]] {
        const std::vector<char> zeros(1 << 16, 0);
        while (write(in, zeros.data(), zeros.size()) > 0) {
        }
        close(in);
    });
    rlimit data{};
    getrlimit(RLIMIT_DATA, &data);
    std::size_t held = 0;
    {
        std::ifstream statm("/proc/self/statm");
        std::size_t skip = 0;
        statm >> skip >> skip >> skip >> skip >> skip >> held;
        held *= static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    }
    const rlimit limited{held + (64u << 20), data.rlim_max};
    setrlimit(RLIMIT_DATA, &limited);
    const CliRun endless = run(checkHexagons("/dev/fd/" + std::to_string(ends[0])));
    setrlimit(RLIMIT_DATA, &data);
    close(ends[0]);
    writer.join();
    std::signal(SIGPIPE, previous);
    EXPECT_EQ(endless.status, 3) << endless.err;
    EXPECT_TRUE(has(endless.err, "太大：讀入它所需的記憶體超過界限")) << endless.err;
}

TEST(CliCheck, TheReportEstimatesTheMachineTime)
{
    const CliRun text = run(checkHexagons(HexagonsProgram));
    EXPECT_TRUE(has(text.out, "\n預估加工時間：")) << text.out;
    EXPECT_TRUE(has(text.out, "梯形速度曲線")) << text.out;
    const CliRun json = run(checkHexagons(HexagonsProgram, {"--json"}));
    EXPECT_TRUE(parsed(json)["machineSeconds"].is_number()) << json.out;
}
