// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <initializer_list>
#include <optional>
#include <ostream>
#include <string>

#include "cli/command_line.h"
#include "job/job.h"

namespace kerf::cli {

/// --job FILE and --save-job FILE of a command.
struct JobFiles {
    std::optional<std::string> job;
    std::optional<std::string> saveJob;
};

/// --job FILE: the job's values under the options given on the line. With
/// it, the options in `fromJob` are no longer required: the job holds them
/// (a key it leaves out is what the windows open with).
void addJobOption(CLI::App& app, JobFiles& files, std::initializer_list<CLI::Option*> fromJob);
/// --save-job FILE: the job of the values used, once the command has done its work.
void addSaveJobOption(CLI::App& app, JobFiles& files);

/// The values the command runs on: the --job file's with `line` (the options
/// given) over them, or `line` alone without --job ("-" reads standard
/// input). Nothing, with the refusal on `err`, when the file is not a job or
/// holds a value its box would refuse; UnreadableInput, the reason said on
/// `err`, when it cannot be read.
std::optional<Job> commandJob(const JobFiles& files, const Job& line, std::ostream& err);

/// Writes --save-job, if given: every key, a missing one as the windows open
/// with it. False, with the message on `err`, when it was not written.
bool savedJob(const JobFiles& files, const Job& used, std::ostream& err);

} // namespace kerf::cli
