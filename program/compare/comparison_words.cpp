// SPDX-License-Identifier: GPL-3.0-or-later
#include "program/compare/comparison_words.h"

#include <algorithm>
#include <cmath>

#include "program/check/report/report_numbers.h"

namespace kerf {

namespace {

std::string pointText(const ProgramPoint& point)
{
    return "X " + inchesText(point.x, 6) + ", Y " + inchesText(point.y, 6);
}

std::string countOf(std::int64_t n) { return countText(static_cast<std::uint64_t>(std::max<std::int64_t>(n, 0))); }

std::string secondsText(const std::optional<double>& seconds) { return seconds ? durationText(*seconds) : "—"; }

void listCuts(std::vector<std::string>& lines, const char* title, const UnmatchedCuts& only)
{
    if (only.count == 0)
        return;
    lines.push_back(std::string(title) + "：" + countOf(only.count) + " 道");
    for (const FlaggedCut& cut : only.listed)
        lines.push_back("  " + unmatchedCutText(cut));
    if (only.count > static_cast<std::int64_t>(only.listed.size()))
        lines.push_back("  ……另有 " + countOf(only.count - static_cast<std::int64_t>(only.listed.size())) + " 道未列出");
}

} // namespace

std::string comparisonVerdict(const ProgramComparison& c)
{
    if (!c.checked()) {
        const CutReport& failed = c.a.unchecked != Unchecked::No || c.a.cancelled ? c.a : c.b;
        return std::string("無法比較：") + (failed.cancelled ? "比較已取消。" : uncheckedText(failed.unchecked));
    }
    if (c.same())
        return "相同";
    if (c.differingDies > 0)
        return countOf(c.differingDies) + " 個晶粒不同";
    return "晶粒切割相同，" +
           countOf(c.strayOnlyA.count + c.strayOnlyB.count + c.outsideOnlyA.count + c.outsideOnlyB.count) +
           " 道切割只在一方";
}

std::string comparedWithText(const ProgramComparison& comparison, std::string_view other)
{
    const std::string with = "與 " + std::string(other);
    return comparison.same() ? with + " 相同" : with + " 比較：" + comparisonVerdict(comparison);
}

std::string differingDieText(const DifferingDie& die)
{
    return "第 " + std::to_string(die.row) + " 列第 " + std::to_string(die.die) + " 個晶粒（" + pointText(die.centre) +
           "）：A 切 " + countText(die.a) + " 次，B 切 " + countText(die.b) + " 次";
}

std::string differingDieShortText(const DifferingDie& die)
{
    return "第 " + std::to_string(die.row) + " 列第 " + std::to_string(die.die) + " 個晶粒：A " + countText(die.a) +
           " 次，B " + countText(die.b) + " 次";
}

std::string unmatchedCutText(const FlaggedCut& cut)
{
    return "程式第 " + std::to_string(cut.line) + " 行（從 " + pointText(cut.from) + " 到 " + pointText(cut.to) + "）";
}

std::string dieLinesText(const DifferingDie& die, const DieCutLines& linesA, const std::vector<std::string>& textsA,
                         const DieCutLines& linesB, const std::vector<std::string>& textsB)
{
    std::string text = differingDieText(die) + "\n";
    const auto list = [&text](const char* name, const DieCutLines& lines, const std::vector<std::string>& texts) {
        text += std::string("\n程式 ") + name + " 切它的行：" + (lines.lines.empty() ? "沒有" : "") + "\n";
        for (std::size_t k = 0; k < lines.lines.size() && k < texts.size(); ++k)
            text += "  " + std::to_string(lines.lines[k]) + ": " + texts[k] + "\n";
        if (!lines.complete)
            text += "  （程式太長，只找了開頭的部分）\n";
    };
    list("A", linesA, textsA);
    list("B", linesB, textsB);
    return text;
}

std::vector<std::string> comparisonLines(const ProgramComparison& c, std::string_view nameA, std::string_view nameB,
                                         std::size_t listLimit)
{
    std::vector<std::string> lines;
    lines.push_back("程式 A：" + std::string(nameA));
    lines.push_back("程式 B：" + std::string(nameB));
    lines.push_back("比較結果：" + comparisonVerdict(c));
    if (!c.checked())
        return lines;
    lines.push_back("切割遍數：A " + std::to_string(c.a.passes) + "，B " + std::to_string(c.b.passes));
    std::string times = "預估加工時間：A " + secondsText(c.a.machineSeconds) + "，B " + secondsText(c.b.machineSeconds);
    if (const std::optional<double> difference = c.machineSecondsDifference(); difference && *difference != 0)
        times += std::string("，B 比 A ") + (*difference < 0 ? "少 " : "多 ") + durationText(std::abs(*difference));
    lines.push_back(times);
    if (c.differingDies > 0) {
        lines.push_back("切割次數不同的晶粒：" + countOf(c.differingDies) + " 個（B 切得較少 " + countOf(c.cutLessInB) +
                        " 個，較多 " + countOf(c.cutMoreInB) + " 個）");
        const std::vector<DifferingDie> dies = differingDies(c, listLimit);
        for (const DifferingDie& die : dies)
            lines.push_back("  " + differingDieText(die));
        if (c.differingDies > static_cast<std::int64_t>(dies.size()))
            lines.push_back("  ……另有 " + countOf(c.differingDies - static_cast<std::int64_t>(dies.size())) +
                            " 個晶粒未列出");
    }
    listCuts(lines, "只有 A 有的不在晶粒邊上的切割", c.strayOnlyA);
    listCuts(lines, "只有 B 有的不在晶粒邊上的切割", c.strayOnlyB);
    listCuts(lines, "只有 A 有的有效圓外的切割", c.outsideOnlyA);
    listCuts(lines, "只有 B 有的有效圓外的切割", c.outsideOnlyB);
    return lines;
}

} // namespace kerf
