// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "job/job.h"

namespace kerf {

/// The job file: UTF-8 JSON, "format" and "version" first, then one object
/// per section whose values are the boxes' texts as strings.
inline constexpr std::string_view JobFormat = "kerfwright-job";
/// The newest version this program reads; it writes the oldest version that
/// holds the job (jobFileVersion).
inline constexpr int JobVersion = 2;
inline constexpr std::string_view JobExtension = ".kwjob";
inline constexpr std::string_view JobMimeType = "application/x-kerfwright-job";
/// A job file is small; a larger file is refused unread.
inline constexpr std::size_t JobFileMaxBytes = 1 << 20;

/// A job file refused or not written: the message box's prompt (it names the
/// file and what is wrong) and title.
struct JobRefusal {
    std::string prompt;
    std::string title;
};
inline constexpr std::string_view JobOpenTitle = "無法開啟工作檔";
inline constexpr std::string_view JobSaveTitle = "無法儲存工作檔";

/// The job in `text`, or why it is not one (named as `file`): not JSON (with
/// the line and column), not an object, another "format", no "version" or a
/// newer one, an unknown key (named), a section that is not an object, a value
/// that is not a string, a wafer size that is not a size list item, "flats"
/// that is not a list of at most two objects of "length" and "at".
std::variant<Job, JobRefusal> parseJob(std::string_view text, const std::filesystem::path& file);

/// The job file at `file`, read whole and parsed; a file that cannot be read,
/// or is larger than JobFileMaxBytes, is refused with the reason.
std::variant<Job, JobRefusal> readJob(const std::filesystem::path& file);

/// The version a job is written as: 1, which every reader reads, unless it
/// holds a section that only version 2 knows ("flats").
int jobFileVersion(const Job& job);

/// The file's text: the keys a job holds in their fixed order, one line for
/// the head and one per section, ending in a newline.
std::string jobText(const Job& job);

/// Writes the job through the one output path (whole or not at all); the
/// refusal says why nothing was written (a value that is not UTF-8 or a wafer
/// size not in the list, which no job could be read back with, or the write's
/// failure).
std::optional<JobRefusal> writeJob(const std::filesystem::path& file, const Job& job);

} // namespace kerf
