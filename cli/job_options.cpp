// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/job_options.h"

#include <vector>

#include "job/job_file.h"

namespace kerf::cli {

void addJobOption(CLI::App& app, JobFiles& files, std::initializer_list<CLI::Option*> fromJob)
{
    // Option callbacks run before the required options are looked for.
    refuseEmpty(*addTextOption(app, "--job", files.job, "FILE.kwjob", "工作檔：它的值，命令列上給的選項優先（有它時，必要的選項可由工作檔給）；- 從標準輸入讀取")
                     ->each([required = std::vector<CLI::Option*>(fromJob)](const std::string&) {
                         for (CLI::Option* option : required)
                             option->required(false);
                     }),
                "--job 需要工作檔的檔名。");
}

void addSaveJobOption(CLI::App& app, JobFiles& files)
{
    refuseEmpty(*addTextOption(app, "--save-job", files.saveJob, "FILE.kwjob", "把所用的值（選項與工作檔合起來）存成工作檔"),
                "--save-job 需要工作檔的檔名。");
}

std::optional<Job> commandJob(const JobFiles& files, const Job& line, std::ostream& err)
{
    if (!files.job)
        return line;
    auto read = readJob(*files.job);
    if (const auto* refusal = std::get_if<JobRefusal>(&read)) {
        err << refusal->prompt << '\n';
        if (refusal->unreadable)
            throw UnreadableInput{};
        return std::nullopt;
    }
    return overlaidJob(std::get<Job>(read), line);
}

bool savedJob(const JobFiles& files, const Job& used, std::ostream& err)
{
    if (!files.saveJob)
        return true;
    if (const auto refusal = writeJob(*files.saveJob, completedJob(used))) {
        err << refusal->prompt << '\n';
        return false;
    }
    return true;
}

} // namespace kerf::cli
