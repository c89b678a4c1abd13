// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kerf {

/// The code points of UTF-8 text; empty for text that is not well-formed
/// UTF-8 (stray or missing continuation bytes, overlong forms, surrogates,
/// values past U+10FFFF).
std::optional<std::u32string> decodeUtf8(std::string_view text);

/// C0 and C1 control characters and DEL: tabs, line breaks and the like.
constexpr bool isControlCharacter(char32_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

} // namespace kerf
