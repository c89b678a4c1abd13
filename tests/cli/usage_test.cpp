// SPDX-License-Identifier: GPL-3.0-or-later
// Every command's options: its own help, and the usage errors (exit 2) in
// Traditional Chinese with the command's usage line.
#include <gtest/gtest.h>

#include <algorithm>

#include "cli/commands.h"
#include "cli_run.h"

using kerf::testing::CliRun;
using kerf::testing::run;

namespace {

bool has(const std::string& text, std::string_view part) { return text.find(part) != std::string::npos; }

// A command line each command accepts, and the options its help names.
struct Accepted {
    std::vector<std::string> args;
    std::vector<std::string> options;
};

std::vector<Accepted> acceptedLines()
{
    std::vector<Accepted> lines = {
        {{"design", "--wafer", "2.0 Inches", "--shape", "Square", "--die", "500"},
         {"--wafer SIZE", "--shape SHAPE", "--die MIL", "--gap MIL", "--effective INCHES", "--csv FILE"}},
        {{"simulate", "--wafer", "2.0 Inches", "--die", "300"}, {"--wafer SIZE", "--die MIL", "--effective INCHES"}},
        {{"generate", "--wafer", "2.0 Inches", "--shape", "Square", "--die", "500", "--name", "job", "--out", "-"},
         {"--name NAME", "--passes N", "--dvl TEXT", "--dac TEXT", "--vel TEXT", "--acc TEXT", "--out DIR|-",
          "--date yyyy/mm/dd"}},
        {{"check", "/dev/null", "--wafer", "2.0 Inches", "--shape", "Square", "--die", "500"},
         {"FILE.TXT", "--passes N", "--json", "--shape SHAPE"}},
    };
    const auto& all = kerf::cli::commands();
    if (std::any_of(all.begin(), all.end(), [](const auto& c) { return c.name == "map"; })) {
        lines.push_back({{"map", "--wafer", "2.0 Inches", "--shape", "Square", "--die", "500", "--svg", "-"},
                         {"--png FILE", "--svg FILE", "--size PIXELS", "--program FILE.TXT"}});
        lines.push_back({{"sweep", "--wafer", "2.0 Inches", "--shape", "Square", "--from", "100", "--to", "200",
                          "--steps", "3", "--csv", "-"},
                         {"--shape SHAPE[,SHAPE...]", "--from MIL", "--to MIL", "--steps N", "--csv FILE",
                          "--png FILE"}});
    }
    return lines;
}

std::vector<std::string> with(std::vector<std::string> args, const std::vector<std::string>& more)
{
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

// The same line with another value for the option `name`.
std::vector<std::string> replaced(std::vector<std::string> args, const std::string& name, const std::string& value)
{
    *(std::find(args.begin(), args.end(), name) + 1) = value;
    return args;
}

// The same line without the option `name` and its value.
std::vector<std::string> without(std::vector<std::string> args, const std::string& name)
{
    const auto at = std::find(args.begin(), args.end(), name);
    args.erase(at, at + 2);
    return args;
}

void expectUsageError(const std::vector<std::string>& args, std::string_view says)
{
    const CliRun r = run(args);
    EXPECT_EQ(r.status, 2) << args[0] << r.err;
    EXPECT_TRUE(r.out.empty()) << args[0];
    EXPECT_TRUE(r.err.starts_with("kerfwright-cli: " + args[0] + "：")) << r.err;
    EXPECT_TRUE(has(r.err, says)) << r.err;
    EXPECT_TRUE(has(r.err, "用法：kerfwright-cli " + args[0])) << r.err;
}

} // namespace

TEST(CliUsage, EveryCommandPrintsItsOwnHelp)
{
    for (const Accepted& line : acceptedLines()) {
        const CliRun help = run({line.args[0], "--help"});
        EXPECT_EQ(help.status, 0) << line.args[0];
        EXPECT_TRUE(help.err.empty());
        EXPECT_TRUE(has(help.out, "用法：kerfwright-cli " + line.args[0])) << help.out;
        for (const std::string& option : line.options)
            EXPECT_TRUE(has(help.out, option)) << line.args[0] << " " << option;
        EXPECT_EQ(run(with(line.args, {"-h"})).out, help.out); // anywhere on the line
        EXPECT_EQ(run({"help", line.args[0]}).out, help.out);
    }
}

TEST(CliUsage, TheAcceptedLinesRun)
{
    for (const Accepted& line : acceptedLines()) {
        const CliRun r = run(line.args);
        EXPECT_NE(r.status, 2) << line.args[0] << r.err;
    }
}

TEST(CliUsage, EveryCommandRefusesUnknownTwiceAndValuelessOptions)
{
    for (const Accepted& line : acceptedLines()) {
        expectUsageError(with(line.args, {"--colour", "red"}), "不認得的選項：--colour");
        expectUsageError(with(line.args, {"--colour=red"}), "不認得的選項：--colour=red");
        expectUsageError(with(line.args, {"--wafer", "2.0 Inches"}), "--wafer 只能給一次。");
        expectUsageError(with(line.args, {"--wafer"}), "--wafer 需要一個值。");
        expectUsageError(with(line.args, {"--wafer", "2 Inches"}), "--wafer 必須是晶片直徑清單的一項");
        expectUsageError(without(line.args, "--wafer"), "缺少必要的選項 --wafer。");
        for (const char* shape : {"circle", "Blob", ""}) {
            if (std::find(line.args.begin(), line.args.end(), "--shape") != line.args.end())
                expectUsageError(replaced(line.args, "--shape", shape), "Circle、Hexagon 或 Square");
        }
    }
}

TEST(CliUsage, EveryCommandNamesTheRequiredOptionThatIsMissing)
{
    for (const Accepted& line : acceptedLines()) {
        const std::string required = line.args[0] == "sweep" ? "--from" : line.args[0] == "generate" ? "--name" : "--die";
        expectUsageError(without(line.args, required), "缺少必要的選項 " + required + "。");
    }
    expectUsageError({"check", "--wafer", "2.0 Inches", "--shape", "Square", "--die", "500"},
                     "缺少要檢查的程式檔：FILE.TXT 或 --program FILE.TXT。");
    expectUsageError({"check", "A.TXT", "B.TXT", "--shape", "Square", "--die", "500"}, "多餘的引數：B.TXT");
    expectUsageError({"check", "A.TXT", "--wafer", "2.0 Inches", "--die", "500"}, "缺少必要的選項 --shape。");
    // A misspelt required option is said as the unknown option it is.
    expectUsageError({"design", "--dei", "5"}, "不認得的選項：--dei");
}

TEST(CliUsage, JsonIsAFlagGivenOnce)
{
    const std::vector<std::string> check = {"check", "/nonexistent/JOB.TXT", "--wafer", "2.0 Inches", "--shape",
                                            "Square", "--die", "500"};
    EXPECT_EQ(run(with(check, {"--json"})).status, 2); // the file cannot be read
    expectUsageError(with(check, {"--json", "--json"}), "--json 只能給一次。");
    expectUsageError(with(check, {"--json=yes"}), "--json 不接受值。");
    // Not an option of design.
    expectUsageError({"design", "--die", "5", "--json"}, "不認得的選項：--json");
}

TEST(CliUsage, ValuesAreTakenAsTheyStand)
{
    const std::vector<std::string> design = {"design", "--wafer", "2.0 Inches", "--shape", "Circle"};
    // An emptied box, whichever way it is written, and a negative number.
    for (const auto& die : {std::vector<std::string>{"--die", ""}, std::vector<std::string>{"--die="}}) {
        const CliRun r = run(with(design, die));
        EXPECT_EQ(r.status, 1) << r.err;
        EXPECT_TRUE(has(r.err, "晶粒尺寸是空的")) << r.err;
    }
    const CliRun negative = run(with(design, {"--die", "-5"}));
    EXPECT_EQ(negative.status, 1);
    EXPECT_TRUE(has(negative.err, "晶粒尺寸不可為負數")) << negative.err;
    // "--effective=" before another option leaves that option its own.
    EXPECT_EQ(run(with(design, {"--effective=", "--die", "50"})).out,
              run(with(design, {"--effective", "", "--die", "50"})).out);
    // Whole numbers are digits: no base prefix or plus sign.
    const std::vector<std::string> check = {"check", "A.TXT", "--wafer", "2.0 Inches", "--shape", "Square", "--die", "500"};
    for (const char* passes : {"0x10", "+5", " 5", "1000", "0"})
        expectUsageError(with(check, {"--passes", passes}), "--passes 必須是 1 到 999 的整數。");
}

TEST(CliUsage, TheOverviewListsTheCommandsInChinese)
{
    const CliRun help = run({"help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.starts_with("用法：kerfwright-cli 指令 [選項]\n")) << help.out;
    for (const auto& command : kerf::cli::commands())
        EXPECT_TRUE(has(help.out, "\n  " + std::string(command.name) + " ")) << command.name;
    const CliRun none = run({});
    EXPECT_EQ(none.status, 2);
    EXPECT_EQ(none.err, help.out);
    const CliRun unknown = run({"bogus"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_TRUE(unknown.err.starts_with("kerfwright-cli: 不認得的指令：bogus\n")) << unknown.err;
    EXPECT_EQ(run({"help", "bogus"}).status, 2);
    EXPECT_EQ(run({"help", "design", "check"}).status, 2);
    // The version and the licence, without a display or a command.
    const CliRun version = run({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_TRUE(version.out.starts_with("kerfwright-cli 0.")) << version.out;
    EXPECT_TRUE(has(version.out, "GPL-3.0-or-later")) << version.out;
    EXPECT_EQ(run({"-V"}).out, version.out);
}
