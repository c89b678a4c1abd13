// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace kerf {

/// The version of the build ("0.1").
std::string_view programVersion();

/// What `--version` prints for `program` ("kerfwright-cli"): its name and
/// version on the first line, then the copyright and the licence (GPL-3.0 or
/// later, no warranty), in Traditional Chinese, each line ending in a newline.
std::string aboutText(std::string_view program);

} // namespace kerf
