// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The words of a program's text: its lines, their tokens and their numbers.

namespace kerf::detail {

/// A token or name as a refusal keeps it: its bytes as written, cut short
/// (still more than a message shows), never inside a UTF-8 character.
std::string kept(std::string_view text);

enum class NumberRead { Ok, NotNumber, OutOfRange };

/// Reads a number as the program writes it (no "+", no blanks).
NumberRead readNumber(std::string_view token, double& value);

/// Decimal digits only.
std::optional<std::uint64_t> readWhole(std::string_view token);

/// Whether a token begins as a number does.
bool looksNumeric(std::string_view token);

inline bool isBlank(char c) { return c == ' ' || c == '\t'; }

inline void splitTokens(std::string_view line, std::vector<std::string_view>& tokens)
{
    tokens.clear();
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && isBlank(line[i]))
            ++i;
        const std::size_t start = i;
        while (i < line.size() && !isBlank(line[i]))
            ++i;
        if (i > start)
            tokens.push_back(line.substr(start, i - start));
    }
}

/// The text of a line between its first and last token.
inline std::string_view trimmed(std::string_view line)
{
    std::size_t b = 0;
    std::size_t e = line.size();
    while (b < e && isBlank(line[b]))
        ++b;
    while (e > b && isBlank(line[e - 1]))
        --e;
    return line.substr(b, e - b);
}

/// Walks the lines of a text: LF ends a line, a CR before it is dropped.
class LineWalker {
public:
    explicit LineWalker(std::string_view text) : text_(text) {}
    bool next(std::string_view& line)
    {
        if (pos_ >= text_.size())
            return false;
        std::size_t end = text_.find('\n', pos_);
        if (end == std::string_view::npos)
            end = text_.size();
        line = text_.substr(pos_, end - pos_);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        pos_ = end + 1;
        ++number_;
        return true;
    }
    std::uint32_t number() const { return number_; }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
    std::uint32_t number_ = 0;
};

/// The name a PN line gives its unit.
std::string_view unitNameOf(std::string_view line);

} // namespace kerf::detail
