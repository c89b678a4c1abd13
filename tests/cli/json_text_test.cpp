// SPDX-License-Identifier: GPL-3.0-or-later
// The one escaper of the command line's JSON: its short way for plain text
// gives what nlohmann-json gives, and every text comes out as valid JSON.
#include <gtest/gtest.h>

#include <random>

#include <nlohmann/json.hpp>

#include "cli/json_text.h"

using kerf::cli::appendJsonString;
using kerf::cli::jsonString;

namespace {

std::string nlohmannText(const std::string& text)
{
    return nlohmann::json(text).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

} // namespace

TEST(JsonText, WorkedExamples)
{
    EXPECT_EQ(jsonString("-0.088335"), "\"-0.088335\"");
    EXPECT_EQ(jsonString(""), "\"\"");
    EXPECT_EQ(jsonString("a\"b\\c\n"), "\"a\\\"b\\\\c\\n\"");
    EXPECT_EQ(jsonString("\x01"), "\"\\u0001\"");
    EXPECT_EQ(jsonString("\x7f"), nlohmannText("\x7f"));
    EXPECT_EQ(jsonString("晶片"), "\"晶片\"");
    EXPECT_EQ(jsonString("\xB4\xB9"), "\"\xEF\xBF\xBD\xEF\xBF\xBD\""); // CP950 bytes: U+FFFD each
    std::string json = "[";
    appendJsonString(json, "x");
    EXPECT_EQ(json, "[\"x\"");
}

TEST(JsonText, AnyBytesGiveWhatNlohmannGivesAndParseBack)
{
    std::mt19937 random(11);
    std::uniform_int_distribution<int> length(0, 12);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> ascii(0x1e, 0x7f);
    for (int i = 0; i < 20000; ++i) {
        std::string text(static_cast<std::size_t>(length(random)), ' ');
        for (char& c : text)
            c = static_cast<char>(i % 2 ? byte(random) : ascii(random));
        const std::string json = jsonString(text);
        ASSERT_EQ(json, nlohmannText(text)) << i;
        ASSERT_FALSE(nlohmann::json::parse(json, nullptr, false).is_discarded()) << json;
    }
}
