// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "cli/commands.h"
#include "cli_run.h"
#include "job/job_file.h"

using kerf::testing::CliRun;
using kerf::testing::readFile;
using kerf::testing::run;
using kerf::testing::TemporaryFolder;

namespace {

std::vector<std::string> with(std::vector<std::string> args, const std::vector<std::string>& more)
{
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

} // namespace

TEST(CliJob, DesignFromAJobIsDesignFromTheSameOptionsAndSaveJobWritesThem)
{
    const std::vector<std::vector<std::string>> cases = {
        {"--wafer", "2.0 Inches", "--shape", "Circle", "--die", "50", "--gap", "2"},
        {"--wafer", "3.0 Inches", "--shape", "Hexagon", "--die", "80", "--effective", ""},
        {"--wafer", "5.0 Inches", "--shape", "Square", "--die", "100", "--gap", "1.5", "--effective", "4.5"},
        {"--wafer", "2.5 Inches", "--die", "50"},                              // no shape: the outline
        {"--wafer", "2.0 Inches", "--shape", "Hexagon", "--die", "5000"},      // refused alike
        {"--shape", "Circle", "--die", "50"},                                  // no size chosen
    };
    const TemporaryFolder folder;
    const std::string job = folder.file("a.kwjob");
    for (const auto& options : cases) {
        const CliRun direct = run(with({"design"}, options));
        const CliRun saving = run(with(with({"design"}, options), {"--save-job", job}));
        EXPECT_EQ(saving.out, direct.out);
        if (direct.status != 0) {
            EXPECT_EQ(saving.status, direct.status);
            EXPECT_EQ(saving.err, direct.err);
            continue;
        }
        ASSERT_EQ(saving.status, 0) << saving.err;
        const CliRun fromJob = run({"design", "--job", job});
        EXPECT_EQ(fromJob.status, 0) << fromJob.err;
        EXPECT_EQ(fromJob.out, direct.out) << options[1];
        // The saved job holds every key; resaved from the job it is the same file.
        const std::string saved = readFile(job);
        EXPECT_EQ(run({"design", "--job", job, "--save-job", folder.file("b.kwjob")}).status, 0);
        EXPECT_EQ(readFile(folder.file("b.kwjob")), saved);
    }
    // Options on the line win over the file's values.
    run({"design", "--wafer", "2.0 Inches", "--shape", "Circle", "--die", "50", "--gap", "2", "--save-job", job});
    EXPECT_EQ(run({"design", "--job", job, "--die", "60", "--gap="}).out,
              run({"design", "--wafer", "2.0 Inches", "--shape", "Circle", "--die", "60", "--gap="}).out);
}

TEST(CliJob, GenerateWritesTheSameProgramFromTheJobAndTheJobOfItsValues)
{
    const TemporaryFolder folder;
    const std::vector<std::string> options = {"--wafer", "2.0 Inches", "--shape", "Hexagon", "--die", "400",
                                              "--name", "JOB", "--passes", "2", "--vel", "", "--dac", "5"};
    const std::string job = folder.file("job.kwjob");
    const CliRun direct = run(with({"generate", "--out", "-", "--date", "2004/03/05", "--save-job", job}, options));
    ASSERT_EQ(direct.status, 0) << direct.err;
    EXPECT_EQ(readFile(job),
              "{\"format\": \"kerfwright-job\", \"version\": 1,\n"
              " \"designer\": {\"wafer\": \"2.0 Inches\", \"effective\": \"1.9\", \"shape\": \"Hexagon\", \"die\": \"400\", \"gap\": \"\"},\n"
              " \"program\":  {\"name\": \"JOB\", \"passes\": \"2\", \"dvl\": \"0.6\", \"dac\": \"5\", \"vel\": \"\", \"acc\": \"6.0\"}}\n");
    const CliRun fromJob = run({"generate", "--job", job, "--out", "-", "--date", "2004/03/05"});
    EXPECT_EQ(fromJob.status, 0) << fromJob.err;
    EXPECT_EQ(fromJob.out, direct.out);
    // A check and a map take the designer's values from the job too.
    const std::string program = folder.file("JOB.TXT");
    folder.write("JOB.TXT", direct.out);
    EXPECT_EQ(run({"check", program, "--job", job}).out, run(with({"check", program}, {options.begin(), options.begin() + 6})).out);
}

TEST(CliJob, AFileThatIsNotAJobIsRefusedByEveryCommandAndNothingIsWritten)
{
    const TemporaryFolder folder;
    folder.write("bad.kwjob", R"({"format": "kerfwright-job", "version": 1, "designer": {"dei": "50"}})");
    folder.write("P.TXT", "");
    const auto before = folder.snapshot();
    const std::string bad = folder.file("bad.kwjob");
    const std::map<std::string, std::vector<std::string>> lines = {
        {"design", {"--save-job", folder.file("new.kwjob"), "--csv", folder.file("d.csv")}},
        {"generate", {"--out", folder.path().string(), "--save-job", folder.file("new.kwjob")}},
        {"check", {folder.file("P.TXT")}},
        {"map", {"--png", folder.file("m.png")}},
        {"sweep", {"--shape", "Circle", "--from", "10", "--to", "20", "--steps", "2", "--csv", folder.file("s.csv")}},
    };
    for (const kerf::cli::Command& command : kerf::cli::commands()) {
        if (!lines.contains(std::string(command.name)))
            continue;
        const CliRun r = run(with({std::string(command.name), "--job", bad}, lines.at(std::string(command.name))));
        EXPECT_EQ(r.status, 1) << command.name << r.err;
        EXPECT_EQ(r.err, "kerfwright-cli: 工作檔「" + bad + "」有不認得的鍵「designer.dei」（拼錯了嗎？）。\n") << command.name;
        EXPECT_EQ(r.out, "");
    }
    EXPECT_EQ(folder.snapshot(), before);
    EXPECT_EQ(run({"design", "--job", folder.file("none.kwjob")}).err,
              "kerfwright-cli: 工作檔「" + folder.file("none.kwjob") + "」無法讀取：檔案不存在。\n");
    // Without --job the options stay required; an empty file name is a usage error.
    EXPECT_EQ(run({"design", "--wafer", "2.0 Inches"}).status, 2);
    EXPECT_EQ(run({"design", "--job", ""}).status, 2);
    EXPECT_EQ(run({"design", "--die", "50", "--save-job="}).status, 2);
}
