// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

namespace kerf {

/// Where writing an output file failed, with the errno of that step (0 when
/// the writer left its stream failed without a system error).
struct FileReplaceError {
    enum class Step { ReadOnly, Open, CreateTemporary, Write, Save, Rename };
    Step step = Step::CreateTemporary;
    int error = 0;
    /// The output went straight to a device, a FIFO or an open descriptor,
    /// so what was written before the failure stays there.
    bool direct = false;
};

/// The one way Kerfwright writes a file: `write` fills the output meant by
/// `target`.
/// - A regular file, or a name that is not there yet, is replaced in one
///   step: the text goes into a new unnamed file of the same folder (a short
///   hidden name where the file system has no unnamed files, removed also
///   when a signal ends the process: handleEndingSignals), which is flushed
///   to disk and then put in place (named for a moment by temporaryName). A
///   file that was there keeps its permissions (and owner, where the process
///   may give it) and stays exactly as it was on any failure; an exception
///   from `write` passes through after the same clean-up. Temporary names
///   that a process killed outright left in the folder are removed first
///   (removeLeftoverNames).
/// - The first write that fails ends `write` (the stream throws, and the
///   failure is returned as Step::Write); a write past the file size limit
///   fails with EFBIG instead of ending the process.
/// - A symbolic link is followed: the file it names is replaced, the link stays.
/// - A FIFO, a device, a socket, or a descriptor of this process
///   (/dev/stdout, /dev/fd/N) is written directly, never replaced.
/// - A regular file without write permission is refused (Step::ReadOnly)
///   before anything is written.
std::optional<FileReplaceError> replaceFile(const std::filesystem::path& target,
                                            const std::function<void(std::ostream&)>& write);

/// The message box's prompt for a failed write of `target`, which holds
/// `what` (e.g. «程式檔»): the step that failed, its cause, and what became
/// of the old file.
std::string replaceFailureText(std::string_view what, const std::filesystem::path& target,
                               const FileReplaceError& error);

} // namespace kerf
