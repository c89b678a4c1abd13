// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include <nlohmann/json.hpp>

namespace kerf {

/// Why a text is not taken as JSON, in words: a key written twice (its
/// path, «鍵「designer.die」寫了兩次…»), or what is wrong at the byte where
/// reading stopped (0-based; «有誤», «數值 1e400 超出範圍»).
struct JsonFault {
    std::optional<std::size_t> offset;
    std::string what;
};

/// The JSON document in `text`, read more strictly than JSON itself asks: a
/// key written twice in one object («鍵「designer.die」寫了兩次», named by its
/// path) and a number beyond the range of a double are refused, never
/// settled silently or thrown.
std::variant<nlohmann::json, JsonFault> parseStrictJson(std::string_view text);

} // namespace kerf
