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
/// The newest version this program reads.
inline constexpr int JobVersion = 2;
/// The version a job is written with: 1 for the designer's and the generation
/// window's boxes alone, byte for byte as before; 2 when it holds a section
/// that came with version 2 (the flats, the yield settings).
int jobVersionOf(const Job& job);
inline constexpr std::string_view JobExtension = ".kwjob";
inline constexpr std::string_view JobMimeType = "application/x-kerfwright-job";
/// A job file is small; a larger file is refused unread.
inline constexpr std::size_t JobFileMaxBytes = 1 << 20;

/// A job file refused or not written: the message box's prompt (it names the
/// file and what is wrong) and title.
struct JobRefusal {
    std::string prompt;
    std::string title;
    /// The file could not be read at all (missing, no permission, not a
    /// regular file where one is needed), as against read and refused.
    bool unreadable = false;
};
inline constexpr std::string_view JobOpenTitle = "無法開啟工作檔";
inline constexpr std::string_view JobSaveTitle = "無法儲存工作檔";

/// The job in `text`, or why it is not one (named as `file`): not JSON (with
/// the line and column), not an object, another "format", no "version" or a
/// newer one, a key written twice or unknown (named), a number no double
/// holds, a section that is not an object, a value that is not a string, a
/// wafer size or a shape that is not an item of its list, "flats" that is not
/// a list of at most two objects of "length" and "at".
std::variant<Job, JobRefusal> parseJob(std::string_view text, const std::filesystem::path& file);

/// Which files a job is read from: the command line's any file, a pipe too
/// (`--job <(…)`); the windows' only a regular file, so that a FIFO or a
/// device, which may never end, is refused («不是一般檔案») unread.
enum class JobSource { AnyFile, RegularFileOnly };

/// The job file at `file`, read whole and parsed; a file that cannot be read,
/// or is larger than JobFileMaxBytes, is refused with the reason. With
/// AnyFile, "-" is standard input.
std::variant<Job, JobRefusal> readJob(const std::filesystem::path& file, JobSource source = JobSource::AnyFile);

/// The file's text: the keys a job holds in their fixed order, one line for
/// the head and one per section (the yield settings' only when it holds
/// them), ending in a newline.
std::string jobText(const Job& job);

/// Writes the job through the one output path (whole or not at all); the
/// refusal says why nothing was written (a value that is not UTF-8 or a wafer
/// size not in the list, which no job could be read back with, or the write's
/// failure).
std::optional<JobRefusal> writeJob(const std::filesystem::path& file, const Job& job);

} // namespace kerf
