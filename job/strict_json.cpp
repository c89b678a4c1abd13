// SPDX-License-Identifier: GPL-3.0-or-later
#include "job/strict_json.h"

#include <set>
#include <utility>
#include <vector>

namespace kerf {
namespace {

using nlohmann::json;
using DomParser = nlohmann::detail::json_sax_dom_parser<json>;

// The library's own document builder, with each object's keys watched.
class StrictSax {
public:
    explicit StrictSax(json& document) : dom_(document, false) {}

    bool null() { return dom_.null(); }
    bool boolean(bool value) { return dom_.boolean(value); }
    bool number_integer(json::number_integer_t value) { return dom_.number_integer(value); }
    bool number_unsigned(json::number_unsigned_t value) { return dom_.number_unsigned(value); }
    bool number_float(json::number_float_t value, const json::string_t& text) { return dom_.number_float(value, text); }
    bool string(json::string_t& value) { return dom_.string(value); }
    bool binary(json::binary_t& value) { return dom_.binary(value); }
    bool start_object(std::size_t size)
    {
        objects_.emplace_back();
        return dom_.start_object(size);
    }
    bool key(json::string_t& key)
    {
        Object& object = objects_.back();
        if (!object.keys.insert(key).second) {
            std::string path;
            for (std::size_t i = 0; i + 1 < objects_.size(); ++i)
                path += objects_[i].last + ".";
            fault_ = "鍵「" + path + key + "」寫了兩次：每個鍵只能有一個值";
            return false;
        }
        object.last = key;
        return dom_.key(key);
    }
    bool end_object()
    {
        objects_.pop_back();
        return dom_.end_object();
    }
    bool start_array(std::size_t size) { return dom_.start_array(size); }
    bool end_array() { return dom_.end_array(); }
    bool parse_error(std::size_t position, const std::string& token, const nlohmann::detail::exception& error)
    {
        // The library counts from 1: the character where the text stops being JSON.
        offset_ = position == 0 ? 0 : position - 1;
        // 406: a number the lexer read that no double holds (1e400).
        fault_ = error.id == 406 ? "的數值 " + token + " 超出範圍" : "有誤";
        return false;
    }

    const std::string& fault() const { return fault_; }
    const std::optional<std::size_t>& offset() const { return offset_; }

private:
    struct Object {
        std::set<std::string> keys;
        std::string last;
    };
    DomParser dom_;
    std::vector<Object> objects_;
    std::string fault_;
    std::optional<std::size_t> offset_;
};

} // namespace

std::variant<json, JsonFault> parseStrictJson(std::string_view text)
{
    json document;
    StrictSax sax(document);
    const bool read = json::sax_parse(text.begin(), text.end(), &sax);
    if (read && sax.fault().empty())
        return document;
    if (!sax.offset() && !sax.fault().empty())
        return JsonFault{std::nullopt, sax.fault()}; // a key written twice
    return JsonFault{sax.offset().value_or(text.size()), sax.fault().empty() ? std::string("有誤") : sax.fault()};
}

} // namespace kerf
