// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/program_mutants.h"

#include <sstream>

#include "tests/support/program_text.h"

namespace kerf::testing {

std::vector<std::pair<std::string, std::string>> brokenVersions(const std::string& text, std::mt19937& random)
{
    const std::vector<std::string> lines = programLines(text);
    std::vector<std::size_t> moves, loops, ends, calls, straight, zeroAfter;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& l = lines[i];
        if (l.starts_with("MI ") || l == "OS" || l == "CS")
            moves.push_back(i);
        if (l.starts_with("MI ") && l.find("ARC") == std::string::npos)
            straight.push_back(i);
        if (l.starts_with("MA ") || l.starts_with("MI ") || l == "EL" || l == "CS" || l == "HEX1" || l == "CIR1")
            zeroAfter.push_back(i);
        if (l.starts_with("SL "))
            loops.push_back(i);
        if (l == "EL")
            ends.push_back(i);
        if (l == "CIR1" || l == "CIR2" || l.starts_with("HEX"))
            calls.push_back(i);
    }
    const auto pick = [&random](const std::vector<std::size_t>& from) {
        return from[std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(random)];
    };
    std::vector<std::pair<std::string, std::string>> versions;
    const auto add = [&](const std::string& what, std::vector<std::string> changed) {
        versions.emplace_back(what, joined(changed));
    };
    for (int k = 0; k < 3 && !moves.empty(); ++k) {
        std::vector<std::string> changed = lines;
        const std::size_t at = pick(moves);
        changed.erase(changed.begin() + static_cast<long>(at));
        add("line " + std::to_string(at + 1) + " removed", changed);
        changed = lines;
        const std::size_t move = pick(moves);
        if (lines[move].starts_with("MI ")) {
            changed[move] = "MI X 0.0013 " + lines[move].substr(3);
            changed[move] = changed[move].substr(0, changed[move].find(" X ", 8) == std::string::npos
                                                        ? changed[move].size()
                                                        : changed[move].find(" X ", 8));
            add("line " + std::to_string(move + 1) + " changed", changed);
        }
    }
    if (!ends.empty()) {
        std::vector<std::string> changed = lines;
        changed.erase(changed.begin() + static_cast<long>(pick(ends)));
        add("an EL removed", changed);
    }
    for (int k = 0; k < 3 && !loops.empty(); ++k) {
        for (const int by : {-1, 1}) {
            std::vector<std::string> changed = lines;
            const std::size_t at = pick(loops);
            const long count = std::stol(lines[at].substr(3)) + by;
            if (count < 1)
                continue;
            changed[at] = "SL " + std::to_string(count);
            add("line " + std::to_string(at + 1) + " counts " + std::to_string(count), changed);
        }
    }
    for (int k = 0; k < 2 && !calls.empty(); ++k) {
        std::vector<std::string> changed = lines;
        const std::size_t at = pick(calls);
        std::string& call = changed[at];
        call = call == "CIR1" ? "CIR2" : call == "CIR2" ? "CIR1" : call == "HEX1" ? "HEX2" : call == "HEX2" ? "HEX1"
             : call == "HEX3" ? "HEX4" : "HEX3";
        add("line " + std::to_string(at + 1) + " calls " + call, changed);
    }
    for (int k = 0; k < 2 && !zeroAfter.empty(); ++k) {
        std::vector<std::string> changed = lines;
        const std::size_t at = pick(zeroAfter) + 1;
        changed.insert(changed.begin() + static_cast<long>(at), "ZERO");
        add("ZERO at line " + std::to_string(at + 1), changed);
    }
    if (!straight.empty()) {
        // "MI X a Y b" as two moves of half of it, and as itself retraced 3 times more.
        const std::size_t at = pick(straight);
        std::istringstream words(lines[at].substr(3));
        std::string half = "MI", back = "MI", axis, number;
        while (words >> axis >> number) {
            std::ostringstream h, b;
            h.precision(9);
            h << std::stod(number) / 2;
            b.precision(9);
            b << -std::stod(number);
            half += " " + axis + " " + h.str();
            back += " " + axis + " " + b.str();
        }
        std::vector<std::string> changed = lines;
        changed[at] = half;
        changed.insert(changed.begin() + static_cast<long>(at), half);
        add("line " + std::to_string(at + 1) + " in halves", changed);
        changed = lines;
        changed.insert(changed.begin() + static_cast<long>(at + 1), {"SL 3", back, lines[at], "EL"});
        add("line " + std::to_string(at + 1) + " retraced", changed);
    }
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i] == "MA X 0.0 MA Y 0.0") {
            std::vector<std::string> changed = lines;
            changed.erase(changed.begin() + static_cast<long>(i));
            add("the return to the origin removed", changed);
        }
    return versions;
}

} // namespace kerf::testing
