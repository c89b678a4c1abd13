#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kerf {

/// The code points of UTF-8 text; empty for text that is not well-formed
/// UTF-8 (stray or missing continuation bytes, overlong forms, surrogates,
/// values past U+10FFFF).
std::optional<std::u32string> decodeUtf8(std::string_view text);

} // namespace kerf
