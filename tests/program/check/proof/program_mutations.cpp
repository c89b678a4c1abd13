// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/program/check/proof/program_mutations.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "layout/die_centres.h"

namespace kerf::testing {

namespace {

/// Tiny steps stay below the check's default tolerance (0.05 mil).
constexpr double TinyStep = 4e-5;

std::string number(double value)
{
    char text[40];
    std::snprintf(text, sizeof text, "%.9f", value);
    std::string s = text;
    s.erase(s.find_last_not_of('0') + 1);
    if (s.back() == '.')
        s += '0';
    return s == "-0.0" ? "0.0" : s;
}

std::vector<std::string> words(const std::string& line)
{
    std::istringstream in(line);
    std::vector<std::string> w;
    for (std::string s; in >> s;)
        w.push_back(s);
    return w;
}

std::string joinedWords(const std::vector<std::string>& w)
{
    std::string s;
    for (const std::string& x : w)
        s += (s.empty() ? "" : " ") + x;
    return s;
}

bool isNumber(const std::string& s)
{
    char* end = nullptr;
    std::strtod(s.c_str(), &end);
    return !s.empty() && *end == '\0' && (std::isdigit(static_cast<unsigned char>(s.back())) != 0);
}

std::size_t pick(std::mt19937_64& random, std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random); }

/// The lines worth changing: the moves and words of the programs' bodies.
std::vector<std::size_t> bodyLines(const std::vector<std::string>& lines)
{
    std::vector<std::size_t> body;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::vector<std::string> w = words(lines[i]);
        if (w.empty() || w[0][0] == '#' || w[0] == "PN" || w[0] == "DI" || w[0] == "II" || w[0] == "EI" ||
            w[0] == "SP" || w[0] == "WT")
            continue;
        body.push_back(i);
    }
    return body;
}

/// One line changed; false when the chosen change does not apply to it.
bool changeLine(std::vector<std::string>& lines, std::size_t at, std::mt19937_64& random)
{
    std::vector<std::string> w = words(lines[at]);
    switch (pick(random, 5)) {
    case 0: lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(at)); return true;
    case 1: {
        if (w[0] != "OS" && w[0] != "CS")
            return false;
        lines[at] = w[0] == "OS" ? "CS" : "OS";
        return true;
    }
    case 2: {
        if (w[0] != "SL")
            return false;
        const long n = std::atol(w[1].c_str()) + (pick(random, 2) ? 1 : -1);
        lines[at] = "SL " + std::to_string(std::max(n, 1L));
        return true;
    }
    default: {
        std::vector<std::size_t> numbers;
        for (std::size_t k = 1; k < w.size(); ++k)
            if (isNumber(w[k]) && w[0] != "SL" && w[0] != "DI")
                numbers.push_back(k);
        if (numbers.empty())
            return false;
        const std::size_t k = numbers[pick(random, numbers.size())];
        const double v = std::strtod(w[k].c_str(), nullptr);
        const double factor[3] = {0.5, 2.0, -1.0};
        w[k] = number(v * factor[pick(random, 3)]);
        lines[at] = joinedWords(w);
        return true;
    }
    }
}

/// A straight MI line (no arc) cut in pieces; false when the line is none.
bool inPieces(std::vector<std::string>& lines, std::size_t at, std::mt19937_64& random)
{
    const std::vector<std::string> w = words(lines[at]);
    if (w.empty() || w[0] != "MI" || lines[at].find("ARC") != std::string::npos ||
        lines[at].find("MA") != std::string::npos || lines[at].find(" MI") != std::string::npos)
        return false;
    double dx = 0, dy = 0;
    for (std::size_t k = 1; k + 1 < w.size(); k += 2)
        (w[k] == "X" ? dx : dy) = std::strtod(w[k + 1].c_str(), nullptr);
    const auto move = [](double x, double y) {
        std::string s = "MI";
        if (x != 0)
            s += " X " + number(x);
        if (y != 0 || x == 0)
            s += " Y " + number(y);
        return s;
    };
    std::vector<std::string> out;
    switch (pick(random, 5)) {
    case 0: { // 2 or 3 pieces, end to end
        const int n = 2 + static_cast<int>(pick(random, 2));
        for (int k = 0; k < n; ++k)
            out.push_back(move(dx / n, dy / n));
        break;
    }
    case 1: { // a stretch with the laser off in between
        const double f = 0.25 + 0.5 * std::uniform_real_distribution<double>(0, 1)(random);
        out = {move(dx * f / 2, dy * f / 2), "CS", move(dx * (1 - f), dy * (1 - f)), "OS", move(dx * f / 2, dy * f / 2)};
        break;
    }
    case 2: // shortened at its start
        out = {"CS", move(dx * 0.25, dy * 0.25), "OS", move(dx * 0.75, dy * 0.75)};
        break;
    case 3: // shortened at its end
        out = {move(dx * 0.75, dy * 0.75), "CS", move(dx * 0.25, dy * 0.25), "OS"};
        break;
    default: { // tiny steps
        const double length = std::hypot(dx, dy);
        const long n = std::max(1L, static_cast<long>(std::ceil(length / TinyStep)));
        const auto steps = static_cast<double>(n);
        out = {"SL " + std::to_string(n), move(dx / steps, dy / steps), "EL"};
        if (pick(random, 2)) // two steps a pass: their path is told by the machine's order alone
            out = {"SL " + std::to_string(n), move(dx / steps / 2, dy / steps / 2), move(dx / steps / 2, dy / steps / 2),
                   "EL"};
        break;
    }
    }
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(at));
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), out.begin(), out.end());
    return true;
}

/// Where the main unit ends its work: before its OFF, else its EI.
std::size_t mainEnd(const std::vector<std::string>& lines)
{
    for (std::size_t i = lines.size(); i-- > 0;)
        if (words(lines[i]) == std::vector<std::string>{"OFF"})
            return i;
    for (std::size_t i = lines.size(); i-- > 0;)
        if (words(lines[i]) == std::vector<std::string>{"EI"})
            return i;
    return lines.size();
}

/// A cut added before the end: tiny steps across a die or off the wafer,
/// or a line of two MA with the laser on.
void addedCut(std::vector<std::string>& lines, const WaferLayout& layout, std::mt19937_64& random)
{
    std::vector<DieCentre> dies;
    forEachDieCentre(layout, [&](const DieCentre& d) { dies.push_back(d); });
    double x = 1.5, y = 0.1 * static_cast<double>(pick(random, 5)); // off the wafer
    const int kind = static_cast<int>(pick(random, 3));
    if (kind < 2 && !dies.empty()) {
        const DieCentre& d = dies[pick(random, dies.size())];
        x = d.x.toDouble() - 0.05;
        y = d.y.toDouble() + 0.01;
    }
    std::vector<std::string> cut{"MA X " + number(x) + " Y " + number(y), "OS"};
    if (kind == 0)
        cut.push_back("MA X " + number(x + 0.1) + " MA Y " + number(y + 0.1));
    else
        cut.insert(cut.end(), {"SL 2500", pick(random, 2) ? "MI X " + number(TinyStep) : "MI Y " + number(TinyStep), "EL"});
    cut.push_back("CS");
    const std::size_t at = mainEnd(lines);
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), cut.begin(), cut.end());
}

} // namespace

std::string mutatedProgram(const std::vector<std::string>& lines, const WaferLayout& layout, std::mt19937_64& random)
{
    std::vector<std::string> out = lines;
    const int changes = 1 + static_cast<int>(pick(random, 2));
    for (int c = 0; c < changes; ++c) {
        for (int attempt = 0; attempt < 50; ++attempt) {
            const std::vector<std::size_t> body = bodyLines(out);
            if (body.empty())
                break;
            const std::size_t at = body[pick(random, body.size())];
            const std::size_t kind = pick(random, 10);
            if (kind < 6 ? changeLine(out, at, random) : kind < 9 ? inPieces(out, at, random) : (addedCut(out, layout, random), true))
                break;
        }
    }
    std::string text;
    for (const std::string& line : out)
        text += line + "\r\n";
    return text;
}

} // namespace kerf::testing
