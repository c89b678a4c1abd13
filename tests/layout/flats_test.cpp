// SPDX-License-Identifier: GPL-3.0-or-later
// Flats: the keep-out lines, the reading of the boxes, the effective area,
// and the dies laid on a flatted wafer against a judge that applies the rule
// die by die (grid point by grid point for squares).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <random>
#include <set>
#include <utility>

#include "layout/acceptance.h"
#include "layout/design_driver.h"
#include "layout/die_centres.h"
#include "layout/wafer_flats.h"
#include "tests/support/design_helpers.h"

namespace kerf {
namespace {

DesignOutcome designWithFlats(const std::string& wafer, const std::string& shape, const std::string& die,
                              const std::string& gap, const std::string& effective, const FlatTexts& flats)
{
    DesignInput input;
    input.WaferDiameter = chooseWaferSize(wafer, 0).WaferDiameter;
    input.texts = {wafer, effective, shape, die, gap};
    input.flats = flats;
    return runDesign(input);
}

TEST(FlatLines, NormalsAndDistances)
{
    const struct {
        double at, nx, ny;
    } normals[] = {{0, 1, 0}, {90, 0, 1}, {180, -1, 0}, {270, 0, -1}, {-90, 0, -1}, {630, 0, -1}, {45, M_SQRT1_2, M_SQRT1_2}};
    for (const auto& n : normals) {
        const KeepOutLine line = flatNormal(n.at);
        EXPECT_NEAR(line.nx, n.nx, 1e-15) << n.at;
        EXPECT_NEAR(line.ny, n.ny, 1e-15) << n.at;
    }
    EXPECT_EQ(flatNormal(270).nx, 0.0); // exactly: a 6 o'clock flat keeps whole rows
    // 4 in, 32.5 mm at 6 o'clock, effective 3.8 in: sqrt(2² − 0.63976²) − 0.1.
    WaferFlats flats;
    flats.primary = Flat{32.5, 270};
    const std::vector<KeepOutLine> lines = keepOutLines(flats, 4.0f, 1.9f);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NEAR(lines[0].k, 1.7949148, 1e-7);
    EXPECT_NEAR(flatEdges(flats, 4.0f)[0].k, 1.8949149, 1e-7);
}

TEST(FlatBoxes, RefusalsNameTheBox)
{
    const struct {
        FlatTexts texts;
        const char* names; // empty: accepted
    } cases[] = {
        {{"-1", "", "", ""}, "主平邊長度"},
        {{"102", "", "", ""}, "主平邊長度"},
        {{"abc", "", "", ""}, "主平邊長度"},
        {{"32.5", "6點", "", ""}, "主平邊角度"},
        {{"32.5", "", "18", ""}, "次平邊角度"},
        {{"32.5", "", "18", "x"}, "次平邊角度"},
        {{"32.5", "", "-18", "0"}, "次平邊長度"},
        {{"101.6", "", "", ""}, ""}, // the whole diameter: a flat through the centre
        {{"", "", "0", ""}, ""},
    };
    for (const auto& c : cases) {
        const DesignOutcome outcome = designWithFlats("4.0 Inches", "Circle", "1000", "", "3.8", c.texts);
        const Refusal* refusal = std::get_if<Refusal>(&outcome);
        if (*c.names == '\0') {
            EXPECT_EQ(refusal, nullptr) << c.texts.length;
            continue;
        }
        ASSERT_NE(refusal, nullptr) << c.names;
        EXPECT_NE(refusal->prompt.find(c.names), std::string::npos) << refusal->prompt;
        EXPECT_EQ(refusal->focus, InputBox::Flats);
    }
}

TEST(FlatBoxes, EmptyOrZeroIsTheRoundWafer)
{
    for (const FlatTexts& none : {FlatTexts{}, FlatTexts{"0", "45", "", ""}, FlatTexts{"", "90", "", "180"}}) {
        const auto flatted = std::get<Design>(designWithFlats("3.0 Inches", "Hexagon", "80", "", "2.85", none));
        const Design round = testing::designed("3.0 Inches", "Hexagon", "80");
        EXPECT_TRUE(flatted.layout.flats.empty());
        EXPECT_TRUE(flatted.layout.RowTable == round.layout.RowTable);
        EXPECT_EQ(flatted.results, round.results);
    }
}

// The effective area judged by counting the points of a fine grid.
double gridArea(double radius, const std::vector<KeepOutLine>& lines)
{
    constexpr int Steps = 2000;
    const double step = 2 * radius / Steps;
    long long inside = 0;
    for (int i = 0; i < Steps; ++i)
        for (int j = 0; j < Steps; ++j) {
            const double x = -radius + (i + 0.5) * step, y = -radius + (j + 0.5) * step;
            if (x * x + y * y > radius * radius)
                continue;
            bool behind = true;
            for (const KeepOutLine& l : lines)
                behind &= x * l.nx + y * l.ny <= l.k;
            inside += behind;
        }
    return double(inside) * step * step;
}

TEST(FlatArea, SegmentsCutFromTheEffectiveCircle)
{
    const double R = 1.5, pi = std::numbers::pi;
    // One chord at distance d: the segment R² acos(d/R) − d √(R² − d²).
    for (const double d : {1.4, 0.5, 0.0, -0.7}) {
        KeepOutLine l = flatNormal(33);
        l.k = d;
        const double segment = R * R * std::acos(d / R) - d * std::sqrt(R * R - d * d);
        EXPECT_NEAR(areaBehindLines(R, pi * R * R, {l}), pi * R * R - segment, 1e-12) << d;
    }
    const std::vector<std::vector<std::pair<double, double>>> pairs = {
        {{270, 1.2}, {90, 1.3}}, {{270, 0.4}, {0, 0.3}}, {{300, -0.2}, {20, 0.1}}, {{10, 0.5}, {11, 0.6}}};
    for (const auto& flats : pairs) {
        std::vector<KeepOutLine> lines;
        for (const auto& [at, k] : flats) {
            lines.push_back(flatNormal(at));
            lines.back().k = k;
        }
        EXPECT_NEAR(areaBehindLines(R, pi * R * R, lines), gridArea(R, lines), 2e-3) << flats[0].first;
    }
    KeepOutLine past = flatNormal(0);
    past.k = R; // touches the circle: nothing cut
    EXPECT_EQ(areaBehindLines(R, 7.0, {past}), 7.0);
}

using Centre = std::pair<double, double>;

std::set<Centre> centresOf(const WaferLayout& layout)
{
    std::set<Centre> centres;
    forEachDieCentre(layout, [&](const DieCentre& d) { centres.insert({d.x.toDouble(), d.y.toDouble()}); });
    return centres;
}

// Circles and hexagons: the round wafer's dies, each kept when it lies within
// every keep-out line by the rule written out corner by corner.
std::set<Centre> judgedDies(const WaferLayout& round, const std::vector<KeepOutLine>& lines)
{
    const double a = round.HalfDieSize, h = round.HexHalfSide.toDouble();
    const std::vector<Centre> corners = {{-a, h}, {-a, -h}, {0, -2 * h}, {a, -h}, {a, h}, {0, 2 * h}};
    std::set<Centre> kept;
    for (const auto& [x, y] : centresOf(round)) {
        bool keep = true;
        for (const KeepOutLine& l : lines) {
            double reach = a;
            if (round.shape == DieShape::Hexagon) {
                reach = -INFINITY;
                for (const auto& [vx, vy] : corners)
                    reach = std::max(reach, vx * l.nx + vy * l.ny);
            }
            keep &= x * l.nx + y * l.ny + reach <= l.k;
        }
        if (keep)
            kept.insert({x, y});
    }
    return kept;
}

// Squares: every grid point tested; lines from their first to their last
// usable point; the cells with four usable corners.
struct JudgedGrid {
    std::map<long long, std::pair<long long, long long>> rows, columns; // index: first, last point
    std::set<Centre> cells;
};

JudgedGrid judgedGrid(const WaferLayout& round, const std::vector<KeepOutLine>& lines)
{
    const Decimal p = Decimal::fromSingle(round.DieSize);
    const AcceptanceArea area{round.EffectiveRadius, round.HalfDieSize, 0};
    const long long reach = std::llround(round.EffectiveRadius / round.DieSize) + 2;
    const auto usable = [&](long long i, long long j) {
        const double x = (p * i).toDouble(), y = (p * j).toDouble();
        if (isOutsideAtDistance(distanceFromOffsets(x, y), DieShape::Square, area))
            return false;
        for (const KeepOutLine& l : lines)
            if (!(x * l.nx + y * l.ny < l.k))
                return false;
        return true;
    };
    JudgedGrid grid;
    for (long long j = -reach; j <= reach; ++j)
        for (long long i = -reach; i <= reach; ++i) {
            if (!usable(i, j))
                continue;
            for (auto [table, line, at] : {std::tuple{&grid.rows, j, i}, std::tuple{&grid.columns, i, j}}) {
                auto [it, fresh] = table->try_emplace(line, at, at);
                it->second.first = std::min(it->second.first, at);
                it->second.second = std::max(it->second.second, at);
            }
            if (usable(i + 1, j) && usable(i, j + 1) && usable(i + 1, j + 1))
                grid.cells.insert({(p * i + p.half()).toDouble(), (p * j + p.half()).toDouble()});
        }
    return grid;
}

// The square lines of a layout as the judge keeps them: by line index, the
// first and last point index.
std::map<long long, std::pair<long long, long long>> linesOf(const WaferLayout& layout, bool rows)
{
    const LayoutTable& table = rows ? layout.RowTable : layout.ColumnTable;
    const double p = layout.DieSize;
    std::map<long long, std::pair<long long, long long>> lines;
    for (int r = 1; r <= table.upperBound(); ++r) {
        const double x = (table[r].PosX.toDecimal() - waferCentre().X).toDouble() / p;
        const double y = (waferCentre().Y - table[r].PosY.toDecimal()).toDouble() / p;
        const long long first = std::llround(rows ? x : y - table[r].DieCount);
        lines[std::llround(rows ? y : x)] = {first, first + table[r].DieCount};
    }
    return lines;
}

TEST(FlatLayouts, KeepExactlyTheDiesTheRuleKeeps)
{
    std::mt19937 random(2828);
    const auto uniform = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(random); };
    const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    const char* shapes[] = {"Circle", "Hexagon", "Square"};
    const double quarterTurns[] = {0, 90, 180, 270};
    int refusedAll = 0, cutDown = 0;
    for (int c = 0; c < 300; ++c) {
        const int size = pick(5);
        const std::string wafer(WaferSizeItems[static_cast<std::size_t>(size)]);
        const double diameter = chooseWaferSize(wafer, 0).WaferDiameter;
        const std::string shape = shapes[c % 3];
        const std::string die = std::to_string(pick(300) + 60);
        const std::string gap = shape == "Circle" && pick(2) ? std::to_string(pick(10)) : "";
        const std::string effective = std::to_string(diameter * uniform(0.85, 1.0)).substr(0, 5);
        const auto angle = [&] { return pick(3) == 0 ? quarterTurns[pick(4)] : std::round(uniform(-360, 720) * 10) / 10; };
        const auto length = [&] { return std::round(uniform(0, diameter * 25.4) * 100) / 100; };
        FlatTexts flats{std::to_string(length()), std::to_string(angle()), "", ""};
        if (pick(2))
            flats.secondLength = std::to_string(length() / 2), flats.secondAt = std::to_string(angle());
        const std::string label = wafer + " " + shape + " " + die + "/" + gap + " eff " + effective + " flats " +
                                  flats.length + "@" + flats.at + " " + flats.secondLength + "@" + flats.secondAt;

        const auto round = std::get<Design>(designWithFlats(wafer, shape, die, gap, effective, {}));
        const DesignOutcome outcome = designWithFlats(wafer, shape, die, gap, effective, flats);
        const WaferFlats read{Flat{std::stod(flats.length), std::stod(flats.at)},
                              flats.secondLength.empty()
                                  ? std::nullopt
                                  : std::optional(Flat{std::stod(flats.secondLength), std::stod(flats.secondAt)})};
        const auto lines = keepOutLines(read, round.layout.WaferDiameter, round.layout.EffectiveRadius);
        if (shape == "Square") {
            const JudgedGrid judged = judgedGrid(round.layout, lines);
            if (judged.cells.empty()) {
                ASSERT_TRUE(std::holds_alternative<Refusal>(outcome)) << label;
                ++refusedAll;
                continue;
            }
            const WaferLayout& layout = std::get<Design>(outcome).layout;
            EXPECT_EQ(linesOf(layout, true), judged.rows) << label;
            EXPECT_EQ(linesOf(layout, false), judged.columns) << label;
            EXPECT_EQ(centresOf(layout), judged.cells) << label;
            cutDown += judged.cells.size() < centresOf(round.layout).size();
            EXPECT_EQ(std::get<Design>(outcome).results.dies, std::to_string(judged.cells.size())) << label;
            continue;
        }
        const std::set<Centre> judged = judgedDies(round.layout, lines);
        if (judged.empty()) {
            ASSERT_TRUE(std::holds_alternative<Refusal>(outcome)) << label;
            ++refusedAll;
            continue;
        }
        ASSERT_TRUE(std::holds_alternative<Design>(outcome)) << label;
        EXPECT_EQ(centresOf(std::get<Design>(outcome).layout), judged) << label;
        cutDown += judged.size() < centresOf(round.layout).size();
        EXPECT_EQ(std::get<Design>(outcome).results.dies, std::to_string(judged.size())) << label;
    }
    EXPECT_LT(refusedAll, 30);
    EXPECT_GT(cutDown, 200); // most cases lose dies to their flats
}

} // namespace
} // namespace kerf
