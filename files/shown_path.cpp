// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/shown_path.h"

#include <cstdio>

namespace kerf {

std::string shownPath(const std::filesystem::path& path)
{
    std::string shown;
    for (const char c : path.native()) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7f) {
            shown += c;
        } else if (c == '\n') {
            shown += "\\n";
        } else if (c == '\t') {
            shown += "\\t";
        } else if (c == '\r') {
            shown += "\\r";
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", byte);
            shown += escaped;
        }
    }
    return shown;
}

} // namespace kerf
