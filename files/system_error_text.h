// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace kerf {

/// Whether a file was being read or written when the system refused.
enum class FileAccess { Read, Write };

/// The words for a system error (an errno value) met while `access`ing a
/// file, in Traditional Chinese, for the windows and the command line alike:
/// «磁碟空間不足», «檔案不存在» …; an error without words of its own gives
/// its number.
std::string systemErrorText(int error, FileAccess access);

} // namespace kerf
