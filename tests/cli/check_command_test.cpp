#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli_run.h"

using kerf::testing::CliRun;
using kerf::testing::run;

namespace {

const std::filesystem::path kGolden = KERF_GOLDEN_DIR;
// 2.0 Inches, hexagons of 600 mil: rows of 2, 3 and 2 dies.
const std::string kHexagons = (kGolden / "hexagon-three-rows-one-way" / "expected.TXT").string();

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

} // namespace

TEST(CliCheck, AGoodProgramIsReportedAllCutAndExitsZero)
{
    const CliRun r = run(checkHexagons(kHexagons));
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_TRUE(r.err.empty());
    EXPECT_TRUE(has(r.out, "(Hexagon, 7 dies)\n"));
    EXPECT_TRUE(has(r.out, "\nPasses expected: 1 (repeat count)\n"));
    EXPECT_TRUE(has(r.out, "\nCuts: 4 (34 cutting moves of 38)\n"));
    EXPECT_TRUE(has(r.out, "\nCut length: 11.777942 in\n"));
    EXPECT_TRUE(has(r.out, "\nDies fully cut: 7 of 7\nUncut dies: none\n"));
    EXPECT_TRUE(has(r.out, "\nCuts outside the effective circle: none\nCuts on no die edge: none\n"));
    EXPECT_TRUE(has(r.out, "\nHead ends at X 0 Y 0, laser off\n"));
    EXPECT_TRUE(r.out.ends_with("\nResult: every die cut, nothing cut outside\n"));
}

TEST(CliCheck, JsonHoldsTheSameReport)
{
    const CliRun r = run(checkHexagons(kHexagons, {"--json"}));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.out.starts_with("{\"program\": \"" + kHexagons + "\", \"shape\": \"Hexagon\", \"checked\": true, \"cancelled\": false,\n"));
    EXPECT_TRUE(has(r.out, "\"passes\": 1, \"passesFrom\": \"repeat count\""));
    EXPECT_TRUE(has(r.out, "\"cuts\": 4, \"cuttingMotions\": 34, \"motions\": 38, \"pointCuts\": 0"));
    EXPECT_TRUE(has(r.out, "\"dies\": 7, \"diesFullyCut\": 7, \"uncutDies\": 0, \"uncutEdges\": 0"));
    EXPECT_TRUE(has(r.out, "\"uncut\": [],\n"));
    EXPECT_TRUE(has(r.out, "\"end\": {\"x\": 0, \"y\": 0, \"laserOff\": true, \"cutOpen\": false}"));
    EXPECT_TRUE(r.out.ends_with("\"allCut\": true, \"clean\": true}\n"));
}

TEST(CliCheck, AMissingCutStartLeavesDiesUncutAndExitsOne)
{
    // The OS of the second row removed: its dies keep their sides and upper edges.
    const Changed missing(kHexagons, "OS", nullptr, "# Row 2");
    const CliRun r = run(checkHexagons(missing.path));
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(has(r.out, "\nDies fully cut: 2 of 7\nUncut dies: 5 (12 edges uncut)\n"));
    EXPECT_TRUE(has(r.out, "\n  row 1 die 1 at X -0.3 Y 0.519615: lower right, lower left edges uncut\n"));
    EXPECT_TRUE(has(r.out, "\n  row 2 die 2 at X 0 Y 0: left, upper left, upper right, right edges uncut\n"));
    EXPECT_TRUE(r.out.ends_with("\nResult: FAULTS: 5 dies not fully cut\n")) << r.out;

    const CliRun json = run(checkHexagons(missing.path, {"--json"}));
    EXPECT_EQ(json.status, 1);
    EXPECT_TRUE(has(json.out, "{\"row\": 2, \"die\": 2, \"x\": 0, \"y\": 0, \"edges\": [\"left\", "
                              "\"upper left\", \"upper right\", \"right\"], \"cuts\": 0}"));
    EXPECT_TRUE(json.out.ends_with("\"allCut\": false, \"clean\": false}\n"));
}

TEST(CliCheck, AChangedMoveIsReportedAtItsLine)
{
    // Line 69: the second row's first cut, moved off its corner.
    const Changed moved(kHexagons, "MI X 0.3 Y 0.173205", "MI X 0.3 Y 0.183205", "# Row 2");
    const CliRun r = run(checkHexagons(moved.path));
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(has(r.out, "\nCuts on no die edge: 26\n  line 69: X 0.6 Y -0.34641 to X 0.9 Y -0.163205\n"))
        << r.out;
    EXPECT_TRUE(has(r.out, "\n  and 6 more\n"));
    EXPECT_TRUE(has(r.out, "26 cuts on no die edge\n"));
}

TEST(CliCheck, AProgramThatIsNotWellFormedIsReportedWithItsLine)
{
    const Changed noEL(kHexagons, "EL", nullptr); // row 1's loop left open: its SL is line 61
    const CliRun r = run(checkHexagons(noEL.path));
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.empty());
    EXPECT_TRUE(has(r.err, "不是正確的切割程式：line 61: ")) << r.err;

    const Changed unknown(kHexagons, "OFF", "OFFF");
    const CliRun word = run(checkHexagons(unknown.path));
    EXPECT_EQ(word.status, 1);
    EXPECT_TRUE(has(word.err, "：line 91: ")) << word.err;
}

TEST(CliCheck, CutsOutsideTheEffectiveCircleFail)
{
    // The same program against a smaller effective circle: the outer dies'
    // edges fall outside it (and the design lays fewer dies).
    const CliRun r = run(checkHexagons(kHexagons, {"--effective", "1.2"}));
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(has(r.out, "\nCuts outside the effective circle: ")) << r.out;
    EXPECT_FALSE(has(r.out, "\nCuts outside the effective circle: none\n"));
}

TEST(CliCheck, PassesAskedForThatTheProgramDoesNotCut)
{
    const CliRun r = run(checkHexagons(kHexagons, {"--passes", "2"}));
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(has(r.out, "\nPasses expected: 2 (given)\n"));
    EXPECT_TRUE(has(r.out, "edges cut fewer than 2 times (fewest 1)\n"));
}

TEST(CliCheck, RoundDiesAndSquares)
{
    const CliRun circle = run({"check", (kGolden / "circle-2in-100mil-gap2" / "expected.TXT").string(), "--wafer",
                               "2.0 Inches", "--shape", "Circle", "--die", "100", "--gap", "2"});
    EXPECT_EQ(circle.status, 0) << circle.out;
    EXPECT_TRUE(has(circle.out, "\nPasses expected: 1 (arcs)\n"));
    const CliRun squares = run({"check", (kGolden / "square-4in-100mil-3passes" / "expected.TXT").string(), "--wafer",
                                "4.0 Inches", "--shape", "Square", "--die", "100"});
    EXPECT_EQ(squares.status, 0) << squares.out;
    EXPECT_TRUE(has(squares.out, "\nPasses expected: 3 (repeat count)\n"));
    // The wrong layout for a program: its cuts fit no die.
    const CliRun wrong = run({"check", (kGolden / "square-4in-100mil-3passes" / "expected.TXT").string(),
                              "--wafer", "4.0 Inches", "--shape", "Square", "--die", "90"});
    EXPECT_EQ(wrong.status, 1);
    EXPECT_TRUE(has(wrong.out, "\nDies fully cut: 0 of "));
}

TEST(CliCheck, RefusalsAndUnreadableFilesExitOne)
{
    const CliRun refused = run(checkHexagons(kHexagons, {"--effective", "2.5"}));
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "晶片有效直徑大於實際直徑，請確認正確數值。\n");
    const CliRun empty = run(checkHexagons(kHexagons, {"--effective", "1.9", "--gap", "."}));
    EXPECT_EQ(empty.status, 1);
    EXPECT_FALSE(empty.err.empty());
    const CliRun noShape = run({"check", kHexagons, "--wafer", "2.0 Inches", "--shape", "", "--die", "600"});
    EXPECT_EQ(noShape.status, 1);
    EXPECT_TRUE(has(noShape.err, "--shape"));
    const CliRun missing = run(checkHexagons("/nonexistent/JOB.TXT"));
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "無法讀取程式檔 /nonexistent/JOB.TXT：No such file or directory\n");
    const CliRun folder = run(checkHexagons(std::filesystem::temp_directory_path().string()));
    EXPECT_EQ(folder.status, 1);
    EXPECT_TRUE(has(folder.err, "無法讀取程式檔 "));
}

TEST(CliCheck, UsageErrorsExitTwo)
{
    EXPECT_EQ(run({"check"}).status, 2);
    EXPECT_EQ(run({"check", "--wafer", "2.0 Inches", "--shape", "Hexagon", "--die", "600"}).status, 2);
    EXPECT_EQ(run({"check", kHexagons, "--wafer", "2.0 Inches", "--die", "600"}).status, 2); // no --shape
    EXPECT_EQ(run({"check", kHexagons, "--wafer", "2.0 Inches", "--shape", "Hexagon"}).status, 2); // no --die
    EXPECT_EQ(run(checkHexagons(kHexagons, {"--passes", "0"})).status, 2);
    EXPECT_EQ(run(checkHexagons(kHexagons, {"--passes", "2.5"})).status, 2);
    EXPECT_EQ(run(checkHexagons(kHexagons, {"--json", "--json"})).status, 2);
    EXPECT_EQ(run(checkHexagons(kHexagons, {"--colour", "red"})).status, 2);
    EXPECT_EQ(run(checkHexagons(kHexagons, {"extra"})).status, 2);
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
        EXPECT_EQ(has(r.out, "\"checked\": false, \"reason\": \"程式展開後太大，無法檢查。\""), json) << r.out;
    }
    std::filesystem::remove_all(folder);
}

TEST(CliCheck, TheReportEstimatesTheMachineTime)
{
    const CliRun text = run(checkHexagons(kHexagons));
    EXPECT_TRUE(has(text.out, "\n預估加工時間：")) << text.out;
    EXPECT_TRUE(has(text.out, "梯形速度曲線")) << text.out;
    const CliRun json = run(checkHexagons(kHexagons, {"--json"}));
    EXPECT_TRUE(has(json.out, "\"machineSeconds\": ")) << json.out;
    EXPECT_FALSE(has(json.out, "\"machineSeconds\": null")) << json.out;
}
