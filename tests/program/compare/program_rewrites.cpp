// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/program/compare/program_rewrites.h"

#include <map>
#include <sstream>

namespace kerf::testing {

std::vector<std::string> unrolled(std::vector<std::string> lines)
{
    for (;;) {
        // The last SL opens an innermost block: no SL follows it before its EL.
        std::size_t open = lines.size();
        for (std::size_t i = 0; i < lines.size(); ++i)
            if (lines[i].starts_with("SL "))
                open = i;
        if (open == lines.size())
            return lines;
        std::size_t close = open + 1;
        while (lines[close] != "EL")
            ++close;
        const std::vector<std::string> body(lines.begin() + long(open) + 1, lines.begin() + long(close));
        std::vector<std::string> copies;
        for (int k = std::stoi(lines[open].substr(3)); k > 0; --k)
            copies.insert(copies.end(), body.begin(), body.end());
        lines.erase(lines.begin() + long(open), lines.begin() + long(close) + 1);
        lines.insert(lines.begin() + long(open), copies.begin(), copies.end());
    }
}

std::vector<std::string> inlined(const std::vector<std::string>& lines)
{
    std::map<std::string, std::vector<std::string>> units;
    std::string unit;
    bool inBody = false;
    for (const std::string& line : lines) {
        if (line.starts_with("PN "))
            unit = line.substr(3);
        else if (line == "II")
            inBody = true;
        else if (line == "EI")
            inBody = false;
        else if (inBody)
            units[unit].push_back(line);
    }
    std::vector<std::string> out;
    for (const std::string& line : lines) {
        const auto called = units.find(line);
        if (called == units.end())
            out.push_back(line);
        else
            out.insert(out.end(), called->second.begin(), called->second.end());
    }
    return out;
}

std::vector<std::string> respaced(const std::vector<std::string>& lines)
{
    std::vector<std::string> out;
    for (const std::string& line : lines) {
        std::string wide;
        for (const char c : line)
            wide += c == ' ' ? std::string("  ") : std::string(1, c);
        out.push_back(wide);
        out.emplace_back();
    }
    return out;
}

std::vector<std::string> split(const std::vector<std::string>& lines)
{
    std::vector<std::string> out;
    for (const std::string& line : lines) {
        if (!line.starts_with("MI ") || line.find("ARC") != std::string::npos) {
            out.push_back(line);
            continue;
        }
        std::istringstream words(line.substr(3));
        std::string half = "MI", axis, number;
        while (words >> axis >> number) {
            std::ostringstream h;
            h.precision(9);
            if (axis == "X" || axis == "Y")
                h << std::stod(number) / 2;
            else
                h << number;
            half += " " + axis + " " + h.str();
        }
        out.push_back(half);
        out.push_back(half);
    }
    return out;
}

} // namespace kerf::testing
