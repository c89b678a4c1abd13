// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/comparison_output.h"

#include <string>
#include <vector>

#include "cli/cut_report_output.h"
#include "program/compare/comparison_words.h"

namespace kerf::cli {

namespace {

std::string jsonSeconds(const std::optional<double>& seconds) { return seconds ? jsonNumber(*seconds) : "null"; }

} // namespace

void writeComparisonText(std::ostream& out, const ProgramComparison& comparison, std::string_view nameA,
                         std::string_view nameB, std::size_t listLimit)
{
    for (const std::string& line : comparisonLines(comparison, nameA, nameB, listLimit))
        out << line << '\n';
}

void writeComparisonJson(std::ostream& out, const ProgramComparison& c, std::size_t listLimit)
{
    out << "{\"same\": " << (c.same() ? "true" : "false") << ",\n \"differing\": [";
    const std::vector<DifferingDie> dies = differingDies(c, listLimit);
    for (std::size_t i = 0; i < dies.size(); ++i)
        out << (i ? ",\n  " : "") << "{\"row\": " << dies[i].row << ", \"die\": " << dies[i].die
            << ", \"x\": " << jsonNumber(dies[i].centre.x) << ", \"y\": " << jsonNumber(dies[i].centre.y)
            << ", \"a\": " << dies[i].a << ", \"b\": " << dies[i].b << "}";
    out << "],\n \"strayOnlyA\": " << jsonCuts(c.strayOnlyA.listed) << ",\n \"strayOnlyB\": "
        << jsonCuts(c.strayOnlyB.listed) << ",\n \"outsideOnlyA\": " << jsonCuts(c.outsideOnlyA.listed)
        << ",\n \"outsideOnlyB\": " << jsonCuts(c.outsideOnlyB.listed) << ",\n \"passesA\": " << c.a.passes
        << ", \"passesB\": " << c.b.passes << ", \"machineSecondsA\": " << jsonSeconds(c.a.machineSeconds)
        << ", \"machineSecondsB\": " << jsonSeconds(c.b.machineSeconds) << "}\n";
}

} // namespace kerf::cli
