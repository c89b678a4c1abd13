#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

namespace kerf {

/// Where replacing a file failed, with the errno of that step (0 when the
/// writer left its stream failed without a system error).
struct FileReplaceError {
    enum class Step { CreateTemporary, Write, Save, Rename };
    Step step = Step::CreateTemporary;
    int error = 0;
};

/// Puts a new file at `target` in one step: `write` fills a new hidden file
/// in the same folder, which is flushed to disk and then renamed over
/// `target`. On any failure the new file is removed and a file that was at
/// `target` stays exactly as it was; an exception from `write` passes through
/// after the same clean-up.
std::optional<FileReplaceError> replaceFile(const std::filesystem::path& target,
                                            const std::function<void(std::ostream&)>& write);

/// The message box's prompt for a failed replacement of `target`, which holds
/// `what` (e.g. «程式檔»): the step that failed, its cause, and that the old
/// file is unchanged and no partial file is left.
std::string replaceFailureText(std::string_view what, const std::filesystem::path& target,
                               const FileReplaceError& error);

} // namespace kerf
