// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <functional>
#include <optional>

namespace kerf {

/// The environment variable by which a site presets the folder programs go into.
inline constexpr const char* ProgramFolderVariable = "KERFWRIGHT_PROGRAM_DIR";

/// What decides where the start button writes a program.
struct ProgramFolderSources {
    std::filesystem::path preset;           ///< KERFWRIGHT_PROGRAM_DIR; empty when unset
    std::filesystem::path executableFolder; ///< the folder of the running program
    std::filesystem::path remembered;       ///< the folder the user chose before; empty when none
};

/// True when a file can be created in `folder` (it exists, is a folder, and
/// this user may write it).
bool folderIsWritable(const std::filesystem::path& folder);

/// The folder a program goes into: the preset when there is one (a preset
/// folder that cannot be written is the site's choice, and writing says why
/// it fails), else the executable's folder when it can be written, else the
/// remembered folder when it can be written. Nothing when the user must be
/// asked.
std::optional<std::filesystem::path>
programFolder(const ProgramFolderSources& sources,
              const std::function<bool(const std::filesystem::path&)>& writable = folderIsWritable);

} // namespace kerf
