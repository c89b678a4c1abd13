// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/json_text.h"

#include <algorithm>

#include <nlohmann/json.hpp>

namespace kerf::cli {

void appendJsonString(std::string& json, std::string_view text)
{
    // Printable ASCII but the quote and the backslash stands for itself: the
    // texts of numbers, shapes and most names take this way, which costs a
    // copy where nlohmann-json's escaping would cost a value and a dump.
    const bool plain = std::all_of(text.begin(), text.end(), [](char c) {
        return c >= 0x20 && c < 0x7f && c != '"' && c != '\\';
    });
    if (plain) {
        json += '"';
        json += text;
        json += '"';
        return;
    }
    json += nlohmann::json(std::string(text)).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::string jsonString(std::string_view text)
{
    std::string json;
    appendJsonString(json, text);
    return json;
}

} // namespace kerf::cli
