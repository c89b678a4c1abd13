// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/output_file.h"

namespace kerf::cli {

std::optional<FileReplaceError> writeOutputFile(const std::string& path, std::ostream& out,
                                                const std::function<void(std::ostream&)>& write)
{
    if (path != "-")
        return replaceFile(path, write);
    write(out);
    return std::nullopt;
}

} // namespace kerf::cli
