// SPDX-License-Identifier: GPL-3.0-or-later
// Every command's output: standard output written whole or the command
// fails, and output files through the one output path.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <streambuf>

#include <nlohmann/json.hpp>

#include "cli/commands.h"
#include "cli_run.h"
#include "process_run.h"

using kerf::testing::CliRun;
using kerf::testing::ProcessRun;
using kerf::testing::readFile;
using kerf::testing::run;
using kerf::testing::TemporaryFolder;
using kerf::testing::runProcess;

namespace {

const std::filesystem::path GoldenFolder = KERF_GOLDEN_DIR;
const std::string SquaresProgram = (GoldenFolder / "square-2in-500mil-chinese-name" / "expected.TXT").string();
const std::vector<std::string> DesignArguments = {"design", "--wafer", "2.0 Inches", "--shape", "Square", "--die", "500"};

std::vector<std::string> with(std::vector<std::string> args, const std::vector<std::string>& more)
{
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

bool has(const std::string& text, std::string_view part) { return text.find(part) != std::string::npos; }

// A stream that takes `room` bytes and then fails, as a full disk does.
class FullAfter : public std::streambuf {
public:
    explicit FullAfter(std::size_t room) : room_(room) {}

protected:
    int_type overflow(int_type c) override
    {
        if (room_ == 0)
            return traits_type::eof();
        --room_;
        return traits_type::not_eof(c);
    }

private:
    std::size_t room_;
};

} // namespace

TEST(CliOutput, StandardOutputThatFailsMidwayFailsTheCommand)
{
    for (const auto& args : {DesignArguments, std::vector<std::string>{"simulate", "--wafer", "2.0 Inches", "--die", "100"},
                             std::vector<std::string>{"--help"}, with(DesignArguments, {"--csv", "-"})}) {
        FullAfter buffer(40);
        std::ostream out(&buffer);
        std::ostringstream err;
        EXPECT_EQ(kerf::cli::runCommandLine(args, out, err), 1) << args[0];
        EXPECT_TRUE(has(err.str(), kerf::cli::StandardOutputFailure)) << err.str();
    }
}

TEST(CliOutput, EveryCommandToAFullDiskExitsOneWithAMessage)
{
    TemporaryFolder folder;
    const std::vector<std::vector<std::string>> commands = {
        {"design", "--wafer", "5.0 Inches", "--shape", "Square", "--die", "5"},
        {"simulate", "--wafer", "5.0 Inches", "--die", "5"},
        {"check", SquaresProgram, "--wafer", "2.0 Inches", "--shape", "Square", "--die", "500", "--json"},
        {"generate", "--wafer", "2.0 Inches", "--shape", "Square", "--die", "500", "--name", "job", "--out", "-"},
        {"generate", "--wafer", "2.0 Inches", "--shape", "Square", "--die", "500", "--name", "job", "--out",
         folder.path().string()},
        {"--help"},
    };
    for (const auto& args : commands) {
        const ProcessRun r = runProcess(args, "/dev/full");
        EXPECT_EQ(r.status, 1) << args[0] << r.err;
        // One message, the command's own or the command line's.
        EXPECT_TRUE(r.err.starts_with("kerfwright-cli: ")) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
}

TEST(CliOutput, FileSizeLimitEndsWithItsMessageAlsoWhenItsSignalIsIgnored)
{
    for (const std::string limits : {"ulimit -f 64", "ulimit -f 64 && trap '' XFSZ"}) {
        TemporaryFolder folder;
        const ProcessRun r = runProcess(
            {"design", "--wafer", "5.0 Inches", "--shape", "Square", "--die", "5", "--csv", folder.file("dies.csv")}, "", "/dev/null",
            limits);
        EXPECT_EQ(r.status, 1) << limits;
        EXPECT_TRUE(has(r.err, "檔案超過系統允許的大小。沒有留下不完整的檔案")) << r.err;
        EXPECT_TRUE(folder.snapshot().empty()) << limits;
    }
}

TEST(CliOutput, AReaderThatWentAwayEndsTheCommandQuietlyBySigpipe)
{
    const ProcessRun r = runProcess({"design", "--wafer", "5.0 Inches", "--shape", "Square", "--die", "5"},
                                    kerf::testing::ClosedPipe);
    EXPECT_EQ(r.status, 128 + SIGPIPE);
    EXPECT_EQ(r.err, "");
}

TEST(CliOutput, ProgramFilesAreReadFromStandardInputByDash)
{
    const ProcessRun r = runProcess({"check", "-", "--wafer", "2.0 Inches", "--shape", "Square", "--die", "500"}, "",
                                    SquaresProgram);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(has(r.out, "-")) << r.out;
}

// The drawing commands draw offscreen whatever platform the environment
// names, and nothing of Qt's own reaches standard error.
TEST(CliOutput, DrawingNeedsNoDisplayAndSaysNothingOfQt)
{
    const auto& all = kerf::cli::commands();
    if (std::none_of(all.begin(), all.end(), [](const auto& c) { return c.name == "map"; }))
        GTEST_SKIP() << "built without the drawing commands";
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    ::unsetenv("DISPLAY");
    ::unsetenv("XDG_RUNTIME_DIR");
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"map", "--wafer", "2.0 Inches", "--shape", "Square", "--die", "500", "--png", "-"},
          std::vector<std::string>{"sweep", "--wafer", "2.0 Inches", "--shape", "Square", "--from", "100", "--to",
                                   "200", "--steps", "3", "--png", "-"}}) {
        const ProcessRun r = runProcess(args);
        EXPECT_EQ(r.status, 0) << args[0] << r.err;
        EXPECT_EQ(r.err, "") << args[0];
        EXPECT_TRUE(r.out.starts_with("\x89PNG")) << args[0];
    }
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
}

TEST(CliOutput, CsvToStandardOutputByDash)
{
    const CliRun r = run(with(DesignArguments, {"--csv", "-"}));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "row,die,x,y\n1,1,-0.25,0.25\n1,2,0.25,0.25\n2,1,-0.25,-0.25\n2,2,0.25,-0.25\n");
}

TEST(CliOutput, CsvToDevStdoutComesBeforeTheJson)
{
    const ProcessRun r = runProcess(with(DesignArguments, {"--csv", "/dev/stdout"}));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.out.starts_with("row,die,x,y\n1,1,-0.25,0.25\n")) << r.out;
    EXPECT_TRUE(has(r.out, "\n{\"shape\": \"Square\""));
}

TEST(CliOutput, CsvToDevNullLeavesTheDevice)
{
    const CliRun r = run(with(DesignArguments, {"--csv", "/dev/null"}));
    EXPECT_EQ(r.status, 0) << r.err;
    struct stat info {};
    ASSERT_EQ(::stat("/dev/null", &info), 0);
    EXPECT_TRUE(S_ISCHR(info.st_mode));
}

TEST(CliOutput, ReadOnlyCsvIsRefusedAndKept)
{
    TemporaryFolder folder;
    const auto path = folder.path() / "dies.csv";
    std::ofstream(path) << "mine\n";
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    const CliRun r = run(with(DesignArguments, {"--csv", path.string()}));
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(has(r.err, "唯讀")) << r.err;
    EXPECT_EQ(readFile(path), "mine\n");
}

TEST(CliOutput, CsvOfTheLongestNameTheFolderTakes)
{
    TemporaryFolder folder;
    const auto path = folder.path() / (std::string(240, 'd') + ".csv");
    const CliRun r = run(with(DesignArguments, {"--csv", path.string()}));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(readFile(path).starts_with("row,die,x,y\n"));
}

TEST(CliOutput, JsonOfAFileNameThatIsNotUtf8IsValid)
{
    TemporaryFolder folder;
    // «晶片» in CP950, as the machine's disk names it, and a control character.
    const auto path = folder.path() / "\xB4\xB9\xA4\xF9\x01\"\\.TXT";
    std::filesystem::copy_file(SquaresProgram, path);
    const CliRun r = run({"check", path.string(), "--wafer", "2.0 Inches", "--shape", "Square", "--die", "500", "--json"});
    EXPECT_EQ(r.status, 0) << r.err;
    const auto json = nlohmann::json::parse(r.out, nullptr, false);
    ASSERT_FALSE(json.is_discarded()) << r.out;
    EXPECT_EQ(json["program"], (folder.path() / "\uFFFD\uFFFD\uFFFD\uFFFD\x01\"\\.TXT").string());
    EXPECT_EQ(json["clean"], true);
}

TEST(CliOutput, LayoutJsonIsValid)
{
    for (const auto& args : {DesignArguments, std::vector<std::string>{"design", "--wafer", "2.0 Inches", "--die", "500"},
                             std::vector<std::string>{"simulate", "--wafer", "2.0 Inches", "--die", "300"}}) {
        const CliRun r = run(args);
        ASSERT_EQ(r.status, 0) << r.err;
        const auto json = nlohmann::json::parse(r.out, nullptr, false);
        ASSERT_FALSE(json.is_discarded()) << r.out;
        EXPECT_TRUE(json.contains("RowTable"));
    }
}
