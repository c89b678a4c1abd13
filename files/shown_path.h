// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>

namespace kerf {

/// `path` as a message names it: its bytes, with each control character (a
/// newline, a tab, an escape …) written visibly as C writes it ("\n", "\t",
/// "\x1b"), so that a name never breaks a message's line or moves the cursor.
std::string shownPath(const std::filesystem::path& path);

} // namespace kerf
