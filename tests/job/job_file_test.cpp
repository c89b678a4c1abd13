// SPDX-License-Identifier: GPL-3.0-or-later
#include <sys/stat.h>

#include <random>
#include <variant>

#include <gtest/gtest.h>

#include "job/job_file.h"
#include "job/recent_jobs.h"
#include "tests/support/temporary_folder.h"

namespace kerf {
namespace {

using testing::TemporaryFolder;

const std::string ExampleText =
    "{\"format\": \"kerfwright-job\", \"version\": 1,\n"
    " \"designer\": {\"wafer\": \"2.0 Inches\", \"effective\": \"1.9\", \"shape\": \"Circle\", \"die\": \"50\", \"gap\": \"2\"},\n"
    " \"program\":  {\"name\": \"JOB\", \"passes\": \"1\", \"dvl\": \"0.6\", \"dac\": \"6.0\", \"vel\": \"0.6\", \"acc\": \"6.0\"}}\n";

TEST(JobFile, ReadsAndWritesTheFormatExactly)
{
    const Job expected{{"2.0 Inches", "1.9", "Circle", "50", "2"}, {"JOB", "1", "0.6", "6.0", "0.6", "6.0"}};
    EXPECT_EQ(std::get<Job>(parseJob(ExampleText, "a.kwjob")), expected);
    EXPECT_EQ(jobText(expected), ExampleText);
    // Keys in any order and layout, sections left out: the same values.
    const auto sparse = parseJob(R"({"program": {"acc": "", "name": "X"}, "version": 1, "format": "kerfwright-job"})", "b");
    EXPECT_EQ(std::get<Job>(sparse), (Job{{}, {.name = "X", .acc = ""}}));
    EXPECT_EQ(jobText(std::get<Job>(sparse)),
              "{\"format\": \"kerfwright-job\", \"version\": 1,\n \"designer\": {},\n \"program\":  {\"name\": \"X\", \"acc\": \"\"}}\n");
    // Yield settings make it version 2, their section last, strings as typed.
    const std::string withYield = "{\"format\": \"kerfwright-job\", \"version\": 2,\n \"designer\": {},\n \"program\":  {},\n"
                                  " \"yield\":    {\"defects\": \"0.30\", \"model\": \"murphy\", \"cost\": \"\"}}\n";
    const Job yieldJob{{}, {}, {.defects = "0.30", .model = "murphy", .cost = ""}};
    EXPECT_EQ(std::get<Job>(parseJob(withYield, "c")), yieldJob);
    EXPECT_EQ(jobText(yieldJob), withYield);
    EXPECT_EQ(jobVersionOf(Job{}), 1);
}

TEST(JobFile, FlatsMakeVersionTwoAndAreKeptAsTyped)
{
    Job job{{"4.0 Inches", "3.8", "Hexagon", "100", ""}, {"JOB", "1", "0.6", "6.0", "0.6", "6.0"}};
    EXPECT_EQ(jobVersionOf(job), 1);
    job.flats = {"32.5", "", "18 ", "180"};
    EXPECT_EQ(jobVersionOf(job), 2);
    const std::string text = jobText(job);
    EXPECT_TRUE(text.starts_with("{\"format\": \"kerfwright-job\", \"version\": 2,\n")) << text;
    EXPECT_TRUE(text.ends_with(",\n \"flats\": [{\"length\": \"32.5\", \"at\": \"\"}, "
                               "{\"length\": \"18 \", \"at\": \"180\"}]}\n"))
        << text;
    const Job read = std::get<Job>(parseJob(text, "f.kwjob"));
    EXPECT_EQ(flatTextsOf(read.flats), flatTextsOf(job.flats));
    EXPECT_EQ(jobText(read), text);
    // Only a secondary: the primary's place is kept empty.
    job.flats = {std::nullopt, std::nullopt, "8", "90"};
    EXPECT_EQ(flatTextsOf(std::get<Job>(parseJob(jobText(job), "g")).flats), (FlatTexts{"", "", "8", "90"}));
    // Empty boxes are no flats: version 1, byte for byte as before.
    job.flats = {"", "", "", ""};
    EXPECT_EQ(jobText(job), jobText(Job{job.designer, job.program}));
    EXPECT_EQ(jobVersionOf(job), 1);
}

TEST(JobFile, RefusesWhatIsNotAJobNamingTheFileAndTheFault)
{
    const std::string head = R"({"format": "kerfwright-job", "version": 1)";
    const std::pair<std::string, std::string> cases[] = {
        {"", "不是正確的 JSON：第 1 行第 1 個字元有誤"},
        {"{\"format\": \"kerfwright-job\",\n  \"version\": 1,\n  \"designer\": {\"die\": 50,}}", "第 3 行"},
        {head + ",\n\"designer\": {\"die\": \"晶粒\"}\n}x", "第 3 行第 2 個字元"},
        {"{\"format\": \"kerfwright-job\", \"version\": 1, \"designer\": {\"die\": \"\xff\"}}", "不是正確的 JSON"},
        {"[1, 2]", "不是 Kerfwright 工作檔：內容不是 JSON 物件"},
        {R"({"version": 1})", "「format」不存在"},
        {R"({"format": "kerfwright-layout", "version": 1})", "「format」是字串 \"kerfwright-layout\""},
        {R"({"format": "kerfwright-job"})", "「version」不存在"},
        {R"({"format": "kerfwright-job", "version": "1"})", "「version」是字串 \"1\""},
        {R"({"format": "kerfwright-job", "version": 0})", "應為 1 以上的整數"},
        {R"({"format": "kerfwright-job", "version": 3})", "版本是 3，比這個程式能讀的版本 2 新"},
        {head + R"(, "yield": {"density": "0.3"}})", "不認得的鍵「yield.density」"},
        {head + R"(, "yield": {"defects": 0.3}})", "「yield.defects」必須是字串"},
        {head + R"(, "flats": {"length": "32.5"}})", "「flats」必須是至多兩項的 JSON 陣列"},
        {head + R"(, "flats": [{}, {}, {}]})", "至多兩項"},
        {head + R"(, "flats": [{"lenght": "32.5"}]})", "不認得的鍵「flats.lenght」"},
        {head + R"(, "flats": [{"at": 270}]})", "「flats.at」必須是字串"},
        {head + R"(, "designr": {}})", "不認得的鍵「designr」"},
        {head + R"(, "designer": {"dei": "50"}})", "不認得的鍵「designer.dei」"},
        {head + R"(, "program": {"die": "50"}})", "不認得的鍵「program.die」"},
        {head + R"(, "designer": {"die": 50}})", "「designer.die」必須是字串（方塊裡的文字，例如 \"50\"），卻是數值 50"},
        {head + R"(, "program": {"passes": null}})", "「program.passes」必須是字串"},
        {head + R"(, "program": {"name": ["A"]}})", "卻是陣列"},
        {head + R"(, "program": "JOB"})", "「program」必須是 JSON 物件，卻是字串 \"JOB\""},
        {head + R"(, "designer": {"wafer": "6.0 Inches"}})", "晶片直徑「6.0 Inches」不是清單的一項"},
        {head + R"(, "designer": {"shape": "hexagon"}})", "「designer.shape」：晶粒形狀「hexagon」不是清單的一項"},
        {R"({"version": 1e400})", "第 1 行第 17 個字元的數值 1e400 超出範圍"},
        {head + R"(, "designer": {"die": -1e999}})", "的數值 -1e999 超出範圍"},
        {head + R"(, "designer": {"die": "300", "gap": "", "die": "50"}})", "的鍵「designer.die」寫了兩次"},
        {head + R"(, "program": {}, "program": {}})", "的鍵「program」寫了兩次"},
        {R"({"format": "kerfwright-job", "format": "kerfwright-job", "version": 1})", "的鍵「format」寫了兩次"},
    };
    for (const auto& [text, fault] : cases) {
        const auto parsed = parseJob(text, "dir/a.kwjob");
        ASSERT_TRUE(std::holds_alternative<JobRefusal>(parsed)) << text;
        const JobRefusal& refusal = std::get<JobRefusal>(parsed);
        EXPECT_TRUE(refusal.prompt.starts_with("工作檔「dir/a.kwjob」")) << refusal.prompt;
        EXPECT_NE(refusal.prompt.find(fault), std::string::npos) << text << "\n" << refusal.prompt;
        EXPECT_EQ(refusal.title, JobOpenTitle);
    }
}

// Texts a box could hold: empty, blanks, quotes, backslashes, control
// characters, Chinese, numbers.
std::optional<std::string> randomValue(std::mt19937& random)
{
    static const std::string pieces[] = {"", "5", ".", "-", " ", "\"", "\\", "\t", "\n", "\x01", "/", "晶粒", "1e3", "é"};
    if (random() % 5 == 0)
        return std::nullopt;
    std::string text;
    for (auto n = random() % 6; n > 0; --n)
        text += pieces[random() % std::size(pieces)];
    return text;
}

TEST(JobFile, AnyBoxTextsComeBackAsWritten)
{
    std::mt19937 random(18);
    const TemporaryFolder folder;
    for (int i = 0; i < 300; ++i) {
        Job job;
        for (const auto& key : DesignerKeys)
            job.designer.*key.value = randomValue(random);
        for (const auto& key : ProgramKeys)
            job.program.*key.value = randomValue(random);
        job.designer.wafer = std::string(random() % 2 ? WaferSizeItems[random() % WaferSizeItems.size()] : "");
        job.designer.shape = std::string(random() % 2 ? DieShapeItems[random() % DieShapeItems.size()] : "");
        const std::string path = folder.file("job.kwjob");
        if (i < 5) { // through the file a few times; the text is the same
            ASSERT_FALSE(writeJob(path, job));
            EXPECT_EQ(testing::readFile(path), jobText(job));
        }
        const auto read = i < 5 ? readJob(path) : parseJob(jobText(job), path);
        ASSERT_TRUE(std::holds_alternative<Job>(read)) << std::get<JobRefusal>(read).prompt;
        EXPECT_EQ(std::get<Job>(read), job);
    }
}

TEST(JobFile, RefusesToWriteWhatCouldNotBeReadBackAndFilesThatCannotBeRead)
{
    const TemporaryFolder folder;
    folder.write("old.kwjob", "old");
    Job job;
    job.program.name = "\xff";
    EXPECT_NE(writeJob(folder.file("old.kwjob"), job)->prompt.find("不是正確的 UTF-8"), std::string::npos);
    job = Job{{.wafer = "2 Inches"}, {}};
    EXPECT_NE(writeJob(folder.file("old.kwjob"), job)->prompt.find("晶片直徑「2 Inches」不是清單的一項"), std::string::npos);
    job = Job{{.shape = "hexagon"}, {}};
    EXPECT_NE(writeJob(folder.file("old.kwjob"), job)->prompt.find("晶粒形狀「hexagon」不是清單的一項"), std::string::npos);
    EXPECT_EQ(writeJob(folder.file("no/such.kwjob"), Job{})->title, JobSaveTitle);
    EXPECT_EQ(testing::readFile(folder.path() / "old.kwjob"), "old");

    EXPECT_NE(std::get<JobRefusal>(readJob(folder.file("none.kwjob"))).prompt.find("檔案不存在"), std::string::npos);
    EXPECT_NE(std::get<JobRefusal>(readJob(folder.path())).prompt.find("無法讀取"), std::string::npos);
    folder.write("big.kwjob", std::string(JobFileMaxBytes + 1, ' '));
    EXPECT_NE(std::get<JobRefusal>(readJob(folder.file("big.kwjob"))).prompt.find("太大"), std::string::npos);
    // The windows' reading refuses what may never end, unread and at once.
    ASSERT_EQ(::mkfifo(folder.file("x.kwjob").c_str(), 0600), 0);
    for (const std::string path : {folder.file("x.kwjob"), std::string("/dev/zero")}) {
        const auto read = readJob(path, JobSource::RegularFileOnly);
        ASSERT_TRUE(std::holds_alternative<JobRefusal>(read)) << path;
        EXPECT_NE(std::get<JobRefusal>(read).prompt.find("不是一般檔案"), std::string::npos) << path;
    }
}

TEST(Job, MissingKeysAreWhatTheWindowsOpenWithAndOverlaysWin)
{
    EXPECT_EQ(completedJob(Job{{.wafer = "2.0 Inches", .die = "50"}, {.name = "A"}}),
              (Job{{"2.0 Inches", "1.9", "", "50", ""}, {"A", "1", "0.6", "6.0", "0.6", "6.0"}}));
    EXPECT_EQ(completedJob(Job{}).designer, (JobDesigner{"", "", "", "", ""}));
    EXPECT_EQ(completedJob(Job{{.wafer = "5.0 Inches", .effective = ""}, {}}).designer.effective, "");
    const DesignInput input = designInputOf({.wafer = "4.0 Inches", .shape = "Square"});
    EXPECT_EQ(input.WaferDiameter, 4.0f);
    EXPECT_EQ(input.texts.effectiveDiameter, "3.8");

    const Job file{{.wafer = "2.0 Inches", .die = "50", .gap = "2"}, {.name = "A", .dvl = "1"}};
    EXPECT_EQ(overlaidJob(file, Job{{.die = "60", .gap = ""}, {.dvl = "2"}}),
              (Job{{.wafer = "2.0 Inches", .die = "60", .gap = ""}, {.name = "A", .dvl = "2"}}));
    const Job withYield{{}, {}, {.defects = "0.3", .model = "seeds"}};
    EXPECT_EQ(overlaidJob(withYield, Job{{}, {}, {.model = "moore", .cost = "9"}}).yield,
              (JobYield{.defects = "0.3", .model = "moore", .cost = "9"}));
    EXPECT_EQ(completedJob(withYield).yield, withYield.yield);
    EXPECT_FALSE(holdsYield(jobYieldOf({"", "poisson", "", "", "5"}))); // an empty density asks for no yield
}

TEST(RecentJobs, NewestFirstEachOnceAtMostEight)
{
    std::vector<std::string> recent;
    for (int i = 0; i < 10; ++i)
        recent = withRecentJob(recent, std::to_string(i));
    EXPECT_EQ(recent, (std::vector<std::string>{"9", "8", "7", "6", "5", "4", "3", "2"}));
    EXPECT_EQ(withRecentJob(recent, "5"), (std::vector<std::string>{"5", "9", "8", "7", "6", "4", "3", "2"}));
}

} // namespace
} // namespace kerf
