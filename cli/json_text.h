// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace kerf::cli {

/// Appends `text` as a JSON string, quotes included: escaped as JSON needs,
/// and bytes that are not UTF-8 (a file name in CP950, say) replaced by
/// U+FFFD, so that the output is always valid JSON. Every string of the
/// command line's JSON goes through here.
void appendJsonString(std::string& json, std::string_view text);

/// `text` as a JSON string (appendJsonString into an empty text).
std::string jsonString(std::string_view text);

} // namespace kerf::cli
