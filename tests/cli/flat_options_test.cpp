// SPDX-License-Identifier: GPL-3.0-or-later
// The flat options of the commands: refused flats, a flatted program that
// checks clean, a round program that cuts past the flat, the job file.
#include <gtest/gtest.h>

#include "cli_run.h"

using kerf::testing::CliRun;
using kerf::testing::readFile;
using kerf::testing::run;
using kerf::testing::TemporaryFolder;

namespace {

const std::vector<std::string> Wafer = {"--wafer", "4.0 Inches", "--shape", "Hexagon", "--die", "100"};
const std::vector<std::string> Flats = {"--flat", "32.5", "--second-flat", "18", "--second-at", "180"};

std::vector<std::string> with(std::vector<std::string> args, const std::vector<std::string>& more)
{
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

TEST(CliFlats, RefusedFlatsNameTheBox)
{
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--flat", "200"}, "主平邊長度大於晶片直徑"},
        {{"--flat", "-3"}, "主平邊長度不可為負數"},
        {{"--flat", "32.5", "--flat-at", "down"}, "主平邊角度「down」"},
        {{"--second-flat", "18"}, "次平邊角度未填"},
    };
    for (const auto& [options, message] : cases)
        for (const char* command : {"design", "map"}) {
            std::vector<std::string> args = with(with({command}, Wafer), options);
            if (std::string(command) == "map")
                args.insert(args.end(), {"--png", "-"});
            const CliRun refused = run(args);
            EXPECT_EQ(refused.status, 1) << command << ' ' << message;
            EXPECT_NE(refused.err.find("kerfwright-cli: " + message), std::string::npos) << refused.err;
            EXPECT_TRUE(refused.out.empty());
        }
}

TEST(CliFlats, FlattedProgramChecksCleanAndARoundOneCutsPastTheFlat)
{
    const TemporaryFolder folder;
    const auto generate = [&](const std::vector<std::string>& flats, const std::string& name) {
        const CliRun generated = run(with(with({"generate", "--name", name, "--out", folder.path().string()}, Wafer), flats));
        EXPECT_EQ(generated.status, 0) << generated.err;
        return folder.file(name + ".TXT");
    };
    const std::string flatted = generate(Flats, "FLAT");
    const std::string round = generate({}, "ROUND");
    EXPECT_EQ(run(with(with({"check", flatted}, Wafer), Flats)).status, 0);
    const CliRun past = run(with(with({"check", round}, Wafer), Flats));
    EXPECT_EQ(past.status, 1);
    EXPECT_EQ(run(with({"check", round}, Wafer)).status, 0);

    const CliRun withFlats = run(with(with({"design"}, Wafer), Flats));
    const CliRun without = run(with({"design"}, Wafer));
    ASSERT_EQ(withFlats.status, 0) << withFlats.err;
    EXPECT_NE(withFlats.out, without.out);
}

TEST(CliFlats, TheJobKeepsTheFlatsAndTheOptionsGoOverThem)
{
    const TemporaryFolder folder;
    const std::string job = folder.file("f.kwjob");
    const CliRun saved = run(with(with({"design"}, Wafer), with(Flats, {"--save-job", job})));
    ASSERT_EQ(saved.status, 0) << saved.err;
    const std::string text = readFile(job);
    EXPECT_NE(text.find("\"version\": 2,"), std::string::npos) << text;
    EXPECT_NE(text.find("\"flats\": [{\"length\": \"32.5\", \"at\": \"\"}, {\"length\": \"18\", \"at\": \"180\"}]"),
              std::string::npos)
        << text;
    EXPECT_EQ(run({"design", "--job", job}).out, saved.out);
    // An empty --flat over the job's: the round wafer.
    EXPECT_EQ(run({"design", "--job", job, "--flat", "", "--second-flat", ""}).out, run(with({"design"}, Wafer)).out);
}

} // namespace
