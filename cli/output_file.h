// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <optional>
#include <ostream>
#include <string>

#include "files/file_replacement.h"

namespace kerf::cli {

/// Writes a command's output file: "-" is standard output (`out`, whose
/// failure the command line reports as every command's), anything else goes
/// through replaceFile.
std::optional<FileReplaceError> writeOutputFile(const std::string& path, std::ostream& out,
                                                const std::function<void(std::ostream&)>& write);

} // namespace kerf::cli
