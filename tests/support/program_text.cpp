// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/program_text.h"

#include <algorithm>

#include "tests/support/test_failure.h"

namespace kerf::testing {

std::vector<std::string> programLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            failTest("text does not end with CR LF: " + text.substr(start));
            break;
        }
        const std::string line = text.substr(start, end - start);
        if (line.find_first_of("\r\n") != std::string::npos)
            failTest("bare CR or LF in «" + line + "»");
        lines.push_back(line);
        start = end + 2;
    }
    return lines;
}

std::string joined(const std::vector<std::string>& lines)
{
    std::string text;
    for (const auto& line : lines)
        text += line + "\r\n";
    return text;
}

bool containsLines(const std::vector<std::string>& lines, const std::vector<std::string>& fragment)
{
    return std::search(lines.begin(), lines.end(), fragment.begin(), fragment.end()) != lines.end();
}

std::vector<std::string> programBody(const std::vector<std::string>& lines)
{
    const auto main = std::find(lines.begin(), lines.end(), "# MAIN PROGRAM");
    if (main == lines.end() || lines.size() < 4) {
        failTest("no main program");
        return {};
    }
    return {main + 1, lines.end() - 4};
}

std::vector<std::string> rowBlock(const std::vector<std::string>& lines, int rowNo)
{
    const auto begin = std::find(lines.begin(), lines.end(), "# Row " + std::to_string(rowNo));
    if (begin == lines.end()) {
        failTest("no row " + std::to_string(rowNo));
        return {};
    }
    auto end = begin + 1;
    while (end != lines.end() && end->rfind("# ", 0) != 0)
        ++end;
    return {begin, end};
}

} // namespace kerf::testing
