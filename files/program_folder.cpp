// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/program_folder.h"

#include <unistd.h>

namespace kerf {

bool folderIsWritable(const std::filesystem::path& folder)
{
    std::error_code error;
    if (folder.empty() || !std::filesystem::is_directory(folder, error))
        return false;
    // Write and search permission are what creating a file in the folder needs.
    return ::access(folder.c_str(), W_OK | X_OK) == 0;
}

std::optional<std::filesystem::path>
programFolder(const ProgramFolderSources& sources, const std::function<bool(const std::filesystem::path&)>& writable)
{
    if (!sources.preset.empty())
        return sources.preset;
    if (writable(sources.executableFolder))
        return sources.executableFolder;
    if (!sources.remembered.empty() && writable(sources.remembered))
        return sources.remembered;
    return std::nullopt;
}

} // namespace kerf
