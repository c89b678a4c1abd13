#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <ostream>

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

} // namespace kerf
