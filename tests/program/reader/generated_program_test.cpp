// SPDX-License-Identifier: GPL-3.0-or-later
// Whole generated programs read back as the machine runs them, over many
// layouts of every shape, and checked against their layouts: every die edge
// or cut line is cut, nothing is cut outside the effective circle, every
// round die gets its turns where the start point puts them, and the program
// ends at the origin with the laser off.
#include <gtest/gtest.h>

#include <cmath>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <cstdint>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "program/check/cut_check.h"
#include "program/writer/generation_driver.h"
#include "program/reader/program_reader.h"
#include "program/reader/reading_error_text.h"
#include "layout/design_driver.h"
#include "numbers/number_text.h"
#include "tests/support/design_helpers.h"
#include "tests/support/generated_programs.h"

using namespace kerf;
using kerf::testing::programFor;

namespace {

// Positions agree when they are this close, inches (25 nm): far below any
// cut, far above the rounding of a long row of relative moves.
constexpr double Tolerance = 1e-6;
// The square program writes its lengths rounded to 6 decimals, so for a pitch
// with more digits its lines drift by up to half a millionth of an inch per
// move; across a wafer that stays below this (1.3 µm).
constexpr double RoundedLengthsTol = 5e-5;

struct LayoutCase {
    DieShape shape;
    std::string wafer;     // the size list's text
    std::string die;       // mil
    std::string fineTune;  // mil, circles only
    std::string effective; // inches; empty: the size's default
    int passes;
};

std::string caseName(const LayoutCase& c)
{
    std::string name = std::string(shapeText(c.shape)) + "_" + c.wafer.substr(0, 3) + "in_" + c.die + "mil";
    if (!c.fineTune.empty())
        name += "_gap" + c.fineTune;
    if (!c.effective.empty())
        name += "_eff" + c.effective;
    name += "_" + std::to_string(c.passes) + "pass";
    for (char& ch : name)
        if (!std::isalnum(static_cast<unsigned char>(ch)))
            ch = '_';
    return name;
}

void PrintTo(const LayoutCase& c, std::ostream* out) { *out << caseName(c); }

/// The layout of the design button, none when it refuses the inputs.
std::optional<WaferLayout> designed(const LayoutCase& c)
{
    DesignOutcome outcome = kerf::testing::design(c.wafer, shapeText(c.shape), c.die, c.fineTune,
                                                  c.effective.empty() ? nullptr : c.effective.c_str());
    if (!std::holds_alternative<Design>(outcome))
        return std::nullopt;
    return std::get<Design>(std::move(outcome)).layout;
}

std::string offBy(double d)
{
    char text[32];
    std::snprintf(text, sizeof text, " (off by %.2g in)", d);
    return text;
}

/// What reading one generated program found: its faults (a few, then a
/// count), and the check's report for figures worth knowing that are no faults.
struct Findings {
    std::vector<std::string> faults;
    int moreFaults = 0;
    CutReport report;
    bool refused = false; // the design button refused the inputs

    void fault(std::string what)
    {
        if (faults.size() < 10)
            faults.push_back(std::move(what));
        else
            ++moreFaults;
    }
    void fault(std::uint32_t line, const std::string& what) { fault("line " + std::to_string(line) + ": " + what); }
    std::string text() const
    {
        std::string out;
        for (const auto& f : faults)
            out += "\n  " + f;
        if (moreFaults > 0)
            out += "\n  and " + std::to_string(moreFaults) + " more";
        if (report.worstDeviation > Tolerance)
            out += "\n  worst" + offBy(report.worstDeviation);
        return out;
    }
};

/// Turns the check's findings into faults: dies not fully cut, cuts outside
/// the effective circle or on no die edge, a layout off its lattice.
void reportFaults(const CutReport& r, Findings& findings)
{
    if (r.latticeDeviation > Tolerance)
        findings.fault("die centres or cut lines off the lattice" + offBy(r.latticeDeviation));
    for (const FlaggedCut& cut : r.outside)
        findings.fault(cut.line, r.shape == DieShape::Circle
                                     ? "an arc leaves the effective circle by more than half the fine-tune"
                                     : "a cut outside the effective circle");
    for (const FlaggedCut& cut : r.stray)
        findings.fault(cut.line, r.shape == DieShape::Circle ? "a cut that is no arc about a die of the layout"
                                                             : "a cut that is no die edge or cut line");
    if (r.uncutDies > 0)
        findings.fault(std::to_string(r.uncutDies) + " of " + std::to_string(r.dies) + " dies not fully cut " +
                       std::to_string(r.passes) + " times (first: row " + std::to_string(r.uncut.front().row) +
                       " die " + std::to_string(r.uncut.front().die) + ")");
}

// Hexagons: an even pass count cuts every row there and back, an odd one
// once; HEX1 and HEX2 cut both vertical sides of each die, so a side that two
// dies of a row share is cut twice as often as every other edge.
void checkHexagonCounts(const WaferLayout& layout, int passesPerEdge, Findings& findings)
{
    std::int64_t sharedSides = 0;
    for (int r = 1; r <= layout.RowTable.upperBound(); ++r)
        sharedSides += std::max(layout.RowTable[r].DieCount - 1, 0);
    std::map<int, std::int64_t> others = findings.report.elementsByCutCount;
    const std::int64_t twice = others[2 * passesPerEdge];
    others.erase(2 * passesPerEdge);
    others.erase(passesPerEdge);
    if (twice != sharedSides)
        findings.fault(std::to_string(twice) + " die edges cut twice per pass of their row, not the " +
                       std::to_string(sharedSides) + " sides that dies share");
    for (const auto& [count, edges] : others)
        findings.fault(std::to_string(edges) + " die edges cut " + std::to_string(count) + " times");
}

// Squares: every row and column cut line of the layout, once per pass, as one
// whole cut; a line of 0 pitches is a point on which the laser opens.
void checkSquareCounts(const WaferLayout& layout, int passes, Findings& findings)
{
    const CutReport& r = findings.report;
    std::int64_t pieces = 0, lines = 0, points = 0;
    for (const LayoutTable* table : {&layout.RowTable, &layout.ColumnTable})
        for (int i = 1; i <= table->upperBound(); ++i) {
            pieces += (*table)[i].DieCount;
            ++((*table)[i].DieCount > 0 ? lines : points);
        }
    const std::map<int, std::int64_t> expected = pieces > 0 ? std::map<int, std::int64_t>{{passes, pieces}}
                                                            : std::map<int, std::int64_t>{};
    if (r.elementsByCutCount != expected)
        findings.fault("cut line pieces not all cut " + std::to_string(passes) + " times");
    if (r.cuttingMotions - r.pointCuts != static_cast<std::uint64_t>(passes * lines))
        findings.fault(std::to_string(r.cuttingMotions - r.pointCuts) + " cuts, not one per cut line and pass");
    if (r.pointCuts != static_cast<std::uint64_t>(passes * points))
        findings.fault(std::to_string(r.pointCuts) + " cuts of no length, not one per line of 0 pitches and pass");
}

// Circles: one arc of `passes` whole clockwise turns per die, starting at the
// die's left (where the row's start point, moved left by half the fine-tune,
// puts it).
void checkCircleArcs(const Program& program, int passes, Findings& findings)
{
    runProgram(program, [&](const Motion& m) {
        if (!m.cutting || m.kind != MotionKind::Arc)
            return;
        if (m.sweepDegrees != -360.0 * passes)
            findings.fault(m.line, "an arc of " + doubleText(m.sweepDegrees) + " degrees");
        if (m.centre.y != m.from.y || m.centre.x < m.from.x)
            findings.fault(m.line, "an arc that does not start at the left of its die");
    });
    const CutReport& r = findings.report;
    if (r.cuttingMotions != static_cast<std::uint64_t>(r.dies))
        findings.fault(std::to_string(r.cuttingMotions) + " arcs for " + std::to_string(r.dies) + " dies");
}

/// Designs the case, writes its program as the start button would, reads it
/// back and checks it against the layout.
Findings checkCase(const LayoutCase& c, double tolerance = Tolerance)
{
    Findings findings;
    const std::optional<WaferLayout> designedLayout = designed(c);
    if (!designedLayout) {
        findings.refused = true;
        return findings;
    }
    const WaferLayout& layout = *designedLayout;
    const std::string text = programFor(layout, c.passes);
    auto parsed = parseProgram(text);
    if (auto* error = std::get_if<ProgramError>(&parsed)) {
        findings.fault("not a well-formed program: " + readingErrorText(*error));
        return findings;
    }
    const Program& program = std::get<Program>(parsed);
    const int passesPerEdge = c.passes % 2 == 0 ? 2 : 1;
    CutCheckOptions options;
    options.tolerance = tolerance;
    // Hexagon pass counts only choose the way; the dies of other programs tell theirs.
    if (c.shape == DieShape::Hexagon)
        options.passes = passesPerEdge;
    findings.report = checkCuts(program, layout, options);
    const CutReport& r = findings.report;
    if (c.shape != DieShape::Hexagon && r.dies > 0 && r.passes != c.passes)
        findings.fault("the program tells " + std::to_string(r.passes) + " passes (" + passSourceText(r.passSource) +
                       "), not " + std::to_string(c.passes));
    reportFaults(r, findings);
    switch (c.shape) {
    case DieShape::Circle: checkCircleArcs(program, c.passes, findings); break;
    case DieShape::Hexagon: checkHexagonCounts(layout, passesPerEdge, findings); break;
    case DieShape::Square: checkSquareCounts(layout, c.passes, findings); break;
    }
    if (!(r.end == ProgramPoint{0, 0}))
        findings.fault("ends at (" + doubleText(r.end.x) + ", " + doubleText(r.end.y) + "), not at the origin");
    if (r.cutOpen)
        findings.fault("ends with a cut open");
    if (!r.laserOff)
        findings.fault("ends with the laser on");
    if (r.cuttingMotions == 0 && dieTotal(layout) > 0)
        findings.fault("cuts nothing");
    return findings;
}

class GeneratedProgram : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(GeneratedProgram, CutsItsLayoutAndEndsAtTheOrigin)
{
    const Findings findings = checkCase(GetParam());
    EXPECT_FALSE(findings.refused) << "the design button refused the inputs";
    EXPECT_TRUE(findings.faults.empty()) << findings.text();
}

std::vector<LayoutCase> allCases()
{
    std::vector<LayoutCase> cases;
    const char* wafers[] = {"2.0 Inches", "2.5 Inches", "3.0 Inches", "4.0 Inches", "5.0 Inches"};
    for (const char* wafer : wafers) {
        for (const char* die : {"26", "47", "100", "250", "400", "1000"})
            for (int passes : {1, 2, 3, 4})
                cases.push_back({DieShape::Hexagon, wafer, die, "", "", passes});
        for (const char* die : {"40", "100", "250", "1000"})
            for (int passes : {1, 3})
                cases.push_back({DieShape::Square, wafer, die, "", "", passes});
        for (const char* die : {"50", "100", "333"})
            for (const char* gap : {"", "2", "7"})
                cases.push_back({DieShape::Circle, wafer, die, gap, "", 1});
        cases.push_back({DieShape::Circle, wafer, "100", "2", "", 2});
    }
    // Tables of one and of three records, and odd effective diameters.
    cases.push_back({DieShape::Hexagon, "2.0 Inches", "1500", "", "", 1});
    cases.push_back({DieShape::Hexagon, "2.0 Inches", "1500", "", "", 2});
    cases.push_back({DieShape::Hexagon, "2.0 Inches", "500", "", "", 1});
    cases.push_back({DieShape::Hexagon, "2.0 Inches", "500", "", "", 2});
    cases.push_back({DieShape::Hexagon, "3.0 Inches", "37", "", "2.7", 1});
    cases.push_back({DieShape::Hexagon, "3.0 Inches", "37", "", "2.7", 2});
    cases.push_back({DieShape::Square, "2.0 Inches", "1800", "", "", 1});
    cases.push_back({DieShape::Square, "2.0 Inches", "900", "", "", 2});
    cases.push_back({DieShape::Square, "3.0 Inches", "37", "", "2.7", 2});
    cases.push_back({DieShape::Circle, "2.0 Inches", "1800", "", "", 1});
    cases.push_back({DieShape::Circle, "2.0 Inches", "900", "3", "", 3});
    cases.push_back({DieShape::Circle, "3.0 Inches", "37", "1.5", "2.7", 1});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Layouts, GeneratedProgram, ::testing::ValuesIn(allCases()),
                         [](const ::testing::TestParamInfo<LayoutCase>& info) { return caseName(info.param); });

// Many die sizes per wafer, shape and pass count: every fault of the sweep,
// named by its layout.
struct SweepCase {
    DieShape shape;
    std::string wafer;
    int passes;
};

void PrintTo(const SweepCase& c, std::ostream* out) { *out << shapeText(c.shape) << " " << c.wafer << " " << c.passes; }

class GeneratedProgramSweep : public ::testing::TestWithParam<SweepCase> {};

TEST_P(GeneratedProgramSweep, EveryDieSize)
{
    const SweepCase& sweep = GetParam();
    // Whole and three-decimal mil sizes are exact in the program's number
    // forms; sizes with more digits are not.
    // KERF_LONG_SWEEP=1 takes every whole mil from 10 to 1800 instead.
    const bool longSweep = std::getenv("KERF_LONG_SWEEP") != nullptr;
    std::vector<std::pair<std::string, double>> dies;
    for (int mil = longSweep ? 10 : 20; mil <= 1800; mil += longSweep ? 1 : mil < 100 ? 3 : mil < 400 ? 17 : 61)
        dies.emplace_back(std::to_string(mil), Tolerance);
    for (const char* size : {"33.3", "47.5", "101.1", "250.25", "38.125"})
        dies.emplace_back(size, Tolerance);
    for (const char* size : {"12.34567", "66.66667"})
        dies.emplace_back(size, RoundedLengthsTol);
    int failed = 0;
    std::string report;
    const std::vector<const char*> gaps =
        sweep.shape == DieShape::Circle ? std::vector<const char*>{"", "3", "0.5"} : std::vector<const char*>{""};
    const std::vector<const char*> effective =
        longSweep ? std::vector<const char*>{"", "0.61", "1.13", "1.777"} : std::vector<const char*>{""};
    for (const auto& [die, tolerance] : dies)
        for (const char* gap : gaps)
            for (const char* eff : effective) {
                const LayoutCase c{sweep.shape, sweep.wafer, die, gap, eff, sweep.passes};
                const Findings findings = checkCase(c, tolerance);
                if (!findings.refused && !findings.faults.empty() && ++failed <= 5)
                    report.append("\n").append(caseName(c)).append(":").append(findings.text());
            }
    EXPECT_EQ(failed, 0) << report;
}

std::vector<SweepCase> sweepCases()
{
    std::vector<SweepCase> cases;
    for (const char* wafer : {"2.0 Inches", "2.5 Inches", "3.0 Inches", "4.0 Inches", "5.0 Inches"}) {
        cases.push_back({DieShape::Hexagon, wafer, 1});
        cases.push_back({DieShape::Hexagon, wafer, 2});
        cases.push_back({DieShape::Square, wafer, 1});
        cases.push_back({DieShape::Square, wafer, 2});
        cases.push_back({DieShape::Circle, wafer, 1});
        cases.push_back({DieShape::Circle, wafer, 3});
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Layouts, GeneratedProgramSweep, ::testing::ValuesIn(sweepCases()),
                         [](const ::testing::TestParamInfo<SweepCase>& info) {
                             return std::string(shapeText(info.param.shape)) + "_" + info.param.wafer.substr(0, 1) +
                                    "_" + info.param.wafer.substr(2, 1) + "in_" + std::to_string(info.param.passes) +
                                    "pass";
                         });

} // namespace

namespace {

// Texts typed into the boxes go into the program as they stand; every run the
// start button accepts must still give a program the machine can read, and
// one that moves exactly as the program of the default texts does.
struct TypedText {
    const char* name;
    DieShape shape;
    std::string box; // "name", "passes", "DVL", "DAC", "VEL", "ACC", "wafer"
    std::string text;
};

void PrintTo(const TypedText& c, std::ostream* out) { *out << c.name; }

struct Written {
    std::optional<std::string> program; // none: refused
    std::string refusal;
};

Written written(const WaferLayout& layout, const GenerationTexts& texts)
{
    GenerationRequest request;
    request.texts = texts;
    request.date = std::chrono::year(2004) / std::chrono::March / 5;
    std::ostringstream out;
    const GenerationOutcome outcome = runGeneration(layout, request, std::ref(static_cast<std::ostream&>(out)));
    if (const auto* refusal = std::get_if<GenerationRefusal>(&outcome))
        return {std::nullopt, refusal->prompt};
    if (!std::holds_alternative<GenerationDone>(outcome))
        return {std::nullopt, "failed"};
    return {out.str(), {}};
}

std::vector<Motion> motionsOf(const Program& program)
{
    std::vector<Motion> motions;
    runProgram(program, [&motions](const Motion& m) { motions.push_back(m); });
    return motions;
}

bool sameMoves(const std::vector<Motion>& a, const std::vector<Motion>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const Motion& x, const Motion& y) {
        return x.kind == y.kind && x.cutting == y.cutting && x.from == y.from && x.to == y.to &&
               x.centre == y.centre && x.sweepDegrees == y.sweepDegrees;
    });
}

class AcceptedRun : public ::testing::TestWithParam<TypedText> {};

TEST_P(AcceptedRun, WritesAProgramTheMachineReadsAsTheDefaultOne)
{
    const TypedText& c = GetParam();
    auto layoutOf = [&c](const std::string& waferText) {
        DesignInput input;
        input.WaferDiameter = 2.0f;
        input.texts = {waferText, "1.9", shapeText(c.shape), "250", ""};
        DesignOutcome design = runDesign(input);
        EXPECT_TRUE(std::holds_alternative<Design>(design));
        return std::holds_alternative<Design>(design) ? std::get<Design>(std::move(design)).layout : WaferLayout{};
    };
    const WaferLayout plain = layoutOf("2.0 Inches");
    const WaferLayout layout = layoutOf(c.box == "wafer" ? c.text : "2.0 Inches");

    GenerationTexts texts;
    texts.name = "JOB";
    const Written reference = written(plain, texts);
    ASSERT_TRUE(reference.program);
    for (auto [box, field] : {std::pair{"name", &texts.name}, {"passes", &texts.passes}, {"DVL", &texts.DVL},
                              {"DAC", &texts.DAC}, {"VEL", &texts.VEL}, {"ACC", &texts.ACC}})
        if (c.box == box)
            *field = c.text;
    const Written typed = written(layout, texts);
    if (!typed.program)
        return; // refusing the text is a fine answer

    auto parsed = parseProgram(*typed.program);
    ASSERT_TRUE(std::holds_alternative<Program>(parsed))
        << "accepted, but the program is not well formed: " << readingErrorText(std::get<ProgramError>(parsed));
    const std::vector<Motion> motions = motionsOf(std::get<Program>(parsed));
    if (c.box != "passes") {
        const auto lines = [](const std::string& text) { return std::count(text.begin(), text.end(), '\n'); };
        const bool same = sameMoves(motions, motionsOf(std::get<Program>(parseProgram(*reference.program)))) &&
                          lines(*typed.program) == lines(*reference.program);
        EXPECT_TRUE(same) << "the typed text changed the program's lines or what it does";
    }
    EXPECT_FALSE(motions.empty());
}

const TypedText TypedTexts[] = {
    {"NameWithBlanks", DieShape::Hexagon, "name", "MY JOB"},
    {"NameOfAHexagonSubroutine", DieShape::Hexagon, "name", "HEX1"},
    {"NameOfACircleSubroutine", DieShape::Circle, "name", "CIR2"},
    {"NameOfACommand", DieShape::Square, "name", "OS"},
    {"NameInChinese", DieShape::Circle, "name", "晶片一號"},
    {"NameWithLeadingBlank", DieShape::Square, "name", " JOB"},
    {"DVLNotANumber", DieShape::Hexagon, "DVL", "abc"},
    {"DVLWithComma", DieShape::Hexagon, "DVL", "0,6"},
    {"DACWithBlank", DieShape::Square, "DAC", "6 .0"},
    {"VELNotANumber", DieShape::Circle, "VEL", "fast"},
    {"VELWithAnotherWord", DieShape::Circle, "VEL", "0.6 ACC"},
    {"VELWithLineBreak", DieShape::Circle, "VEL", "0.6\r\nMA X 5 Y 5"},
    {"ACCWithLineBreak", DieShape::Circle, "ACC", "6.0\nOS"},
    {"DVLWithLineBreak", DieShape::Square, "DVL", "0.6\r\nOS"},
    {"EmptyVELTakesDVL", DieShape::Circle, "VEL", ""},
    {"PassesOfTheBoxMaximum", DieShape::Circle, "passes", "999"},
    {"PassesRounded", DieShape::Hexagon, "passes", "2.5"},
    {"WaferTextWithLineBreak", DieShape::Hexagon, "wafer", "2.0 Inches\r\nOS"},
};

INSTANTIATE_TEST_SUITE_P(Generation, AcceptedRun, ::testing::ValuesIn(TypedTexts),
                         [](const ::testing::TestParamInfo<TypedText>& info) { return std::string(info.param.name); });

} // namespace

TEST(GeneratedProgramFigures, HexagonPassCountsOnlyChooseTheWay)
{
    // 3 passes cut what 1 pass cuts, 4 what 2 cut: the count picks the generator.
    for (const char* die : {"47", "400"}) {
        const Findings once = checkCase({DieShape::Hexagon, "4.0 Inches", die, "", "", 1});
        const Findings thrice = checkCase({DieShape::Hexagon, "4.0 Inches", die, "", "", 3});
        const Findings twice = checkCase({DieShape::Hexagon, "4.0 Inches", die, "", "", 2});
        const Findings fourTimes = checkCase({DieShape::Hexagon, "4.0 Inches", die, "", "", 4});
        EXPECT_EQ(once.report.elementsByCutCount, thrice.report.elementsByCutCount);
        EXPECT_EQ(twice.report.elementsByCutCount, fourTimes.report.elementsByCutCount);
        ASSERT_EQ(once.report.elementsByCutCount.size(), 2u);
        EXPECT_EQ(once.report.elementsByCutCount.begin()->first, 1);
        EXPECT_EQ(twice.report.elementsByCutCount.begin()->first, 2);
    }
}

TEST(GeneratedProgramFigures, SquareGridWithoutDiesStillCuts)
{
    // 2.0 Inches, 700 mil: a cross of two 2-pitch lines through the centre
    // and four lines of 0 pitches closes no die, yet the program cuts the
    // cross and opens the laser on the four points.
    const Findings findings = checkCase({DieShape::Square, "2.0 Inches", "700", "", "", 1});
    EXPECT_TRUE(findings.faults.empty()) << findings.text();
    EXPECT_EQ(findings.report.pointCuts, 4u);
    const std::optional<WaferLayout> layout = designed({DieShape::Square, "2.0 Inches", "700", "", "", 1});
    ASSERT_TRUE(layout);
    EXPECT_EQ(dieTotal(*layout), 0);
}

TEST(GeneratedProgramFigures, RoundDiesAtTheRimAreCutUpToHalfTheFineTuneOutside)
{
    // 5.0 Inches, 50 mil dies, 7 mil fine-tune: the arc of a leftmost die is
    // shifted 3.5 mil left, past the effective circle.
    const Findings gap = checkCase({DieShape::Circle, "5.0 Inches", "50", "7", "", 1});
    EXPECT_TRUE(gap.faults.empty()) << gap.text();
    EXPECT_GT(gap.report.arcOvershoot, 0.001);
    EXPECT_LE(gap.report.arcOvershoot, 0.0035 + Tolerance);
    // Without a fine-tune every arc stays inside.
    const Findings none = checkCase({DieShape::Circle, "5.0 Inches", "50", "", "", 1});
    EXPECT_LE(none.report.arcOvershoot, Tolerance);
}

namespace {

std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line); // keeps the CR
    return lines;
}

std::string joined(const std::vector<std::string>& lines)
{
    std::string text;
    for (const auto& line : lines)
        text += line + "\n";
    return text;
}

/// 1-based number of the first line equal to `text` (CR dropped) at or after `from`.
std::uint32_t lineOf(const std::vector<std::string>& lines, const std::string& text, std::size_t from = 0)
{
    for (std::size_t i = from; i < lines.size(); ++i)
        if (lines[i] == text + "\r")
            return static_cast<std::uint32_t>(i + 1);
    ADD_FAILURE() << "no line " << text;
    return 0;
}

} // namespace

TEST(BrokenGeneratedProgram, IsRefusedAtTheLineThatBreaksIt)
{
    const std::optional<WaferLayout> layout = designed({DieShape::Hexagon, "2.0 Inches", "250", "", "", 2});
    ASSERT_TRUE(layout);
    const std::vector<std::string> good = linesOf(programFor(*layout, 2));
    ASSERT_TRUE(std::holds_alternative<Program>(parseProgram(joined(good))));
    const std::uint32_t main = lineOf(good, "PN JOB");

    {   // The EL of the first row's HEX1 loop removed: its SL is left open.
        std::vector<std::string> lines = good;
        const std::uint32_t hex1 = lineOf(good, "HEX1", main);
        ASSERT_EQ(lines[hex1], "EL\r");
        lines.erase(lines.begin() + hex1);
        const auto error = std::get<ProgramError>(parseProgram(joined(lines)));
        EXPECT_EQ(error.kind, ProgramErrorKind::SLWithoutEL);
        EXPECT_EQ(error.line, hex1 - 1) << readingErrorText(error);
    }
    {   // The PN of HEX2 removed: its preamble stands outside any unit.
        std::vector<std::string> lines = good;
        const std::uint32_t pn = lineOf(good, "PN HEX2");
        lines.erase(lines.begin() + (pn - 1));
        const auto error = std::get<ProgramError>(parseProgram(joined(lines)));
        EXPECT_EQ(error.kind, ProgramErrorKind::OutsideUnit);
        EXPECT_EQ(error.line, pn) << readingErrorText(error);
    }
    {   // A move whose number was mangled.
        std::vector<std::string> lines = good;
        const std::uint32_t ma = main + 16; // 0-based: the line after the 17 of the opening block
        ASSERT_TRUE(lines[ma].starts_with("MA X "));
        lines[ma] = "MA X -0.8.75 Y 0\r";
        const auto error = std::get<ProgramError>(parseProgram(joined(lines)));
        EXPECT_EQ(error.kind, ProgramErrorKind::BadNumber);
        EXPECT_EQ(error.line, ma + 1) << readingErrorText(error);
    }
    {   // A call of a unit that is not there.
        std::vector<std::string> lines = good;
        const std::uint32_t hex1 = lineOf(good, "HEX1", main);
        lines[hex1 - 1] = "HEX5\r";
        const auto error = std::get<ProgramError>(parseProgram(joined(lines)));
        EXPECT_EQ(error.kind, ProgramErrorKind::UnknownUnit);
        EXPECT_EQ(error.line, hex1) << readingErrorText(error);
    }
}
