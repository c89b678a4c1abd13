// Whole generated programs read back as the machine runs them, over many
// layouts of every shape: every die edge or cut line is cut, nothing is cut
// outside the effective circle, every round die gets its turns where the
// start point puts them, and the program ends at the origin with the laser off.
#include <gtest/gtest.h>

#include <cmath>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <unordered_map>
#include <vector>

#include "codegen/generation_driver.h"
#include "codegen/program_reader.h"
#include "layout/design_driver.h"
#include "numbers/number_text.h"

using namespace kerf;

namespace {

// Positions agree when they are this close, inches (25 nm): far below any
// cut, far above the rounding of a long row of relative moves.
constexpr double kTol = 1e-6;
// The square program writes its lengths rounded to 6 decimals, so for a pitch
// with more digits its lines drift by up to half a millionth of an inch per
// move; across a wafer that stays below this (1.3 µm).
constexpr double kRoundedLengthsTol = 5e-5;

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
    DesignInput input;
    const WaferSizeChoice size = chooseWaferSize(c.wafer, 0);
    input.WaferDiameter = size.WaferDiameter;
    input.texts.waferSize = c.wafer;
    input.texts.effectiveDiameter = c.effective.empty() ? size.effectiveText : c.effective;
    input.texts.shape = shapeText(c.shape);
    input.texts.dieSize = c.die;
    input.texts.fineTune = c.fineTune;
    DesignOutcome outcome = runDesign(input);
    if (!std::holds_alternative<Design>(outcome))
        return std::nullopt;
    return std::get<Design>(std::move(outcome)).layout;
}

/// The program that the start button writes for the layout, with the
/// window's default texts and `passes` typed into the pass count box.
std::string programFor(const WaferLayout& layout, int passes)
{
    GenerationRequest request;
    request.texts.name = "JOB";
    request.texts.passes = std::to_string(passes);
    request.date = std::chrono::year(2004) / std::chrono::March / 5;
    std::ostringstream out;
    const GenerationOutcome outcome = runGeneration(layout, request, std::ref(static_cast<std::ostream&>(out)));
    if (const auto* refusal = std::get_if<GenerationRefusal>(&outcome))
        ADD_FAILURE() << "generation refused: " << refusal->prompt;
    if (const auto* failure = std::get_if<GenerationFailure>(&outcome))
        ADD_FAILURE() << "generation failed: " << failure->prompt;
    return out.str();
}

double dec(const Number& n) { return n.toDecimal().toDouble(); }

/// The centre of die j of a row record, program coordinates.
ProgramPoint dieCentre(const WaferLayout& layout, const LayoutRow& row, int j)
{
    const Decimal x = row.PosX.toDecimal() + layout.DiePitch.toDecimal() * j - Decimal::fromSingle(CenterX);
    const Decimal y = Decimal::fromSingle(CenterY) - row.PosY.toDecimal();
    return {x.toDouble(), y.toDouble()};
}

/// Snaps a coordinate to a lattice of spacing `step` through 0.
struct Snap {
    double step;
    std::int64_t index(double v, double& deviation) const
    {
        const auto i = static_cast<std::int64_t>(std::llround(v / step));
        deviation = std::max(deviation, std::abs(v - static_cast<double>(i) * step));
        return i;
    }
};

struct Key4 {
    std::int64_t a, b, c, d;
    bool operator==(const Key4&) const = default;
};
struct Key4Hash {
    std::size_t operator()(const Key4& k) const
    {
        std::size_t h = std::hash<std::int64_t>()(k.a);
        for (std::int64_t v : {k.b, k.c, k.d})
            h = h * 1000003u ^ std::hash<std::int64_t>()(v);
        return h;
    }
};
using Tally = std::unordered_map<Key4, int, Key4Hash>;

Key4 segmentKey(std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2)
{
    if (std::tie(x2, y2) < std::tie(x1, y1)) {
        std::swap(x1, x2);
        std::swap(y1, y2);
    }
    return {x1, y1, x2, y2};
}

std::string offBy(double d)
{
    char text[32];
    std::snprintf(text, sizeof text, " (off by %.2g in)", d);
    return text;
}

/// What reading one generated program found: its faults (a few, then a
/// count), and figures worth knowing that are no faults.
struct Findings {
    std::vector<std::string> faults;
    int moreFaults = 0;
    std::map<int, std::int64_t> edgesByCutCount; // hexagons: edges cut n times
    double arcOvershoot = -1;                    // circles: farthest arc point past the effective circle
    std::int64_t pointCuts = 0;                  // cuts of no length (square lines of 0 pitches)
    bool refused = false;                        // the design button refused the inputs
    double worstDeviation = 0;                   // farthest cut end from its lattice point, inches
    double tolerance = kTol;                     // how far a cut end may lie from its lattice point

    void fault(std::string what)
    {
        if (faults.size() < 10)
            faults.push_back(std::move(what));
        else
            ++moreFaults;
    }
    void fault(const Motion& m, const std::string& what) { fault("line " + std::to_string(m.line) + ": " + what); }
    std::string text() const
    {
        std::string out;
        for (const auto& f : faults)
            out += "\n  " + f;
        if (moreFaults > 0)
            out += "\n  and " + std::to_string(moreFaults) + " more";
        if (worstDeviation > kTol)
            out += "\n  worst" + offBy(worstDeviation);
        return out;
    }
};

bool insideCircle(const ProgramPoint& p, double radius, double tolerance)
{
    return std::hypot(p.x, p.y) <= radius + tolerance;
}

/// Checks the motions of one shape's program against its layout as they come.
class ShapeCheck {
public:
    explicit ShapeCheck(Findings& findings) : findings_(findings) {}
    virtual ~ShapeCheck() = default;
    virtual void onMotion(const Motion& m) = 0;
    virtual void finish() = 0;

protected:
    Findings& findings_;
};

// Hexagons: every edge of every die is cut; every cut is one die edge, inside
// the effective circle.
class HexagonCheck final : public ShapeCheck {
public:
    HexagonCheck(const WaferLayout& layout, int passes, Findings& findings)
        : ShapeCheck(findings), radius_(layout.EffectiveRadius), passesPerEdge_(passes % 2 == 0 ? 2 : 1),
          sx_{Decimal::fromSingle(layout.HalfDieSize).toDouble()}, sy_{dec(layout.HexHalfSide)}
    {
        // Corners about a die centre, in lattice steps (a across, h up).
        constexpr int cornerX[6] = {-1, -1, 0, 1, 1, 0};
        constexpr int cornerY[6] = {-1, 1, 2, 1, -1, -2};
        double deviation = 0;
        const LayoutTable& rows = layout.RowTable;
        for (int r = 1; r <= rows.upperBound(); ++r)
            for (int j = 0; j < rows[r].DieCount; ++j) {
                const ProgramPoint c = dieCentre(layout, rows[r], j);
                const std::int64_t ix = sx_.index(c.x, deviation);
                const std::int64_t iy = sy_.index(c.y, deviation);
                for (int k = 0; k < 6; ++k) {
                    const int n = (k + 1) % 6;
                    const Key4 edge = segmentKey(ix + cornerX[k], iy + cornerY[k], ix + cornerX[n], iy + cornerY[n]);
                    edges_.emplace(edge, 0);
                    // HEX1 and HEX2 cut both vertical sides of each die, so a
                    // side that two dies of a row share is cut twice a pass.
                    ++expected_[edge];
                    if (cornerX[k] != cornerX[n])
                        expected_[edge] = 1;
                }
            }
        if (deviation > kTol)
            findings_.fault("die centres off the lattice of a and h");
    }

    void onMotion(const Motion& m) override
    {
        if (!m.cutting)
            return;
        if (m.kind != MotionKind::Straight)
            return findings_.fault(m, "an arc in a hexagon program");
        if (!insideCircle(m.from, radius_, findings_.tolerance) || !insideCircle(m.to, radius_, findings_.tolerance))
            findings_.fault(m, "a cut outside the effective circle");
        double d = 0;
        const Key4 key = segmentKey(sx_.index(m.from.x, d), sy_.index(m.from.y, d), sx_.index(m.to.x, d),
                                    sy_.index(m.to.y, d));
        findings_.worstDeviation = std::max(findings_.worstDeviation, d);
        if (d > findings_.tolerance)
            return findings_.fault(m, "a cut whose ends are no die corners" + offBy(d));
        const auto it = edges_.find(key);
        if (it == edges_.end())
            return findings_.fault(m, "a cut that is no die edge");
        ++it->second;
    }

    void finish() override
    {
        std::int64_t uncut = 0;
        std::int64_t otherCount = 0;
        for (const auto& [key, count] : edges_) {
            ++findings_.edgesByCutCount[count];
            uncut += count == 0;
            otherCount += count != 0 && count != expected_.at(key) * passesPerEdge_;
        }
        if (uncut > 0)
            findings_.fault(std::to_string(uncut) + " of " + std::to_string(edges_.size()) + " die edges uncut");
        // An even pass count cuts every row there and back, an odd one once.
        if (otherCount > 0)
            findings_.fault(std::to_string(otherCount) + " die edges cut neither once nor twice per pass of their row");
    }

private:
    double radius_;
    int passesPerEdge_;
    Snap sx_, sy_;
    Tally edges_;
    Tally expected_; // cuts per pass: 2 for a side two dies share, else 1
};

// Squares: every row and column cut line of the layout, once per pass, as one
// whole cut inside the effective circle.
class SquareCheck final : public ShapeCheck {
public:
    SquareCheck(const WaferLayout& layout, int passes, Findings& findings)
        : ShapeCheck(findings), radius_(layout.EffectiveRadius), passes_(std::max(passes, 1)),
          s_{dec(layout.DiePitch)}
    {
        double deviation = 0;
        const Decimal cx = Decimal::fromSingle(CenterX), cy = Decimal::fromSingle(CenterY);
        for (int r = 1; r <= layout.RowTable.upperBound(); ++r) {
            const LayoutRow& row = layout.RowTable[r];
            const std::int64_t ix = s_.index((row.PosX.toDecimal() - cx).toDouble(), deviation);
            add(Key4{0, s_.index((cy - row.PosY.toDecimal()).toDouble(), deviation), ix, ix + row.DieCount});
        }
        for (int r = 1; r <= layout.ColumnTable.upperBound(); ++r) {
            const LayoutRow& col = layout.ColumnTable[r];
            const std::int64_t top = s_.index((cy - col.PosY.toDecimal()).toDouble(), deviation);
            add(Key4{1, s_.index((col.PosX.toDecimal() - cx).toDouble(), deviation), top - col.DieCount, top});
        }
        if (deviation > kTol)
            findings_.fault("cut lines off the pitch lattice");
    }

    void onMotion(const Motion& m) override
    {
        if (!m.cutting)
            return;
        if (!insideCircle(m.from, radius_, findings_.tolerance) || !insideCircle(m.to, radius_, findings_.tolerance))
            findings_.fault(m, "a cut outside the effective circle");
        double d = 0;
        const std::int64_t x1 = s_.index(m.from.x, d), y1 = s_.index(m.from.y, d);
        const std::int64_t x2 = s_.index(m.to.x, d), y2 = s_.index(m.to.y, d);
        findings_.worstDeviation = std::max(findings_.worstDeviation, d);
        if (d > findings_.tolerance || m.kind != MotionKind::Straight || (x1 != x2 && y1 != y2))
            return findings_.fault(m, "a cut that is no grid line" + offBy(d));
        if (x1 == x2 && y1 == y2) {
            // The laser opens on one point: a line of 0 pitches, which cuts nothing.
            ++findings_.pointCuts;
            if (!points_.contains(Key4{x1, y1, 0, 0}))
                findings_.fault(m, "a cut of no length away from the layout's lines of 0 pitches");
            return;
        }
        const Key4 key = y1 == y2 ? Key4{0, y1, std::min(x1, x2), std::max(x1, x2)}
                                  : Key4{1, x1, std::min(y1, y2), std::max(y1, y2)};
        const auto it = lines_.find(key);
        if (it == lines_.end())
            return findings_.fault(m, "a cut that is not one whole cut line of the layout");
        ++it->second;
    }

    void finish() override
    {
        std::int64_t wrong = 0;
        for (const auto& [key, count] : lines_)
            wrong += count != passes_;
        if (wrong > 0)
            findings_.fault(std::to_string(wrong) + " of " + std::to_string(lines_.size()) +
                            " cut lines not cut " + std::to_string(passes_) + " times");
    }

private:
    void add(const Key4& line)
    {
        if (line.c == line.d)
            points_.emplace(line.a == 0 ? Key4{line.c, line.b, 0, 0} : Key4{line.b, line.c, 0, 0}, 0);
        else
            lines_.emplace(line, 0);
    }

    double radius_;
    int passes_;
    Snap s_;
    Tally lines_;  // {0 row / 1 column, fixed coordinate, from, to}, in pitches
    Tally points_; // lines of 0 pitches: {x, y}
};

// Circles: one arc of `passes` whole turns per die, of the die's radius,
// centred half the fine-tune left of the die's centre (where the row's start
// point, moved left by half the fine-tune, puts it).
class CircleCheck final : public ShapeCheck {
public:
    CircleCheck(const WaferLayout& layout, int passes, Findings& findings)
        : ShapeCheck(findings), effective_(layout.EffectiveRadius), passes_(passes),
          shift_(layout.FineTune.toDecimal().half().toDouble()),
          radius_(Decimal::fromSingle(layout.HalfDieSize).toDouble()),
          sx_{layout.DiePitch.toDecimal().half().toDouble()}, sy_{dec(layout.RowPitch)}
    {
        double deviation = 0;
        for (int r = 1; r <= layout.RowTable.upperBound(); ++r)
            for (int j = 0; j < layout.RowTable[r].DieCount; ++j) {
                const ProgramPoint c = dieCentre(layout, layout.RowTable[r], j);
                dies_.emplace(Key4{sx_.index(c.x, deviation), sy_.index(c.y, deviation), 0, 0}, 0);
            }
        if (deviation > kTol)
            findings_.fault("die centres off the lattice of half pitches and row pitches");
    }

    void onMotion(const Motion& m) override
    {
        if (!m.cutting)
            return;
        if (m.kind != MotionKind::Arc)
            return findings_.fault(m, "a straight cut in a circle program");
        if (m.sweepDegrees != -360.0 * passes_)
            findings_.fault(m, "an arc of " + doubleText(m.sweepDegrees) + " degrees");
        if (std::abs(m.radius() - radius_) > findings_.tolerance || m.centre.y != m.from.y || m.centre.x < m.from.x)
            findings_.fault(m, "an arc that does not start at the left of a die of the die's radius");
        // The half fine-tune shift may carry a die at the rim that far past
        // the effective circle, no farther.
        const double overshoot = std::hypot(m.centre.x, m.centre.y) + m.radius() - effective_;
        findings_.arcOvershoot = std::max(findings_.arcOvershoot, overshoot);
        if (overshoot > shift_ + findings_.tolerance)
            findings_.fault(m, "an arc leaves the effective circle by more than half the fine-tune");
        double d = 0;
        const Key4 key{sx_.index(m.centre.x + shift_, d), sy_.index(m.centre.y, d), 0, 0};
        findings_.worstDeviation = std::max(findings_.worstDeviation, d);
        const auto it = dies_.find(key);
        if (d > findings_.tolerance || it == dies_.end())
            return findings_.fault(m, "an arc about no die of the layout, half the fine-tune to its left" +
                                          offBy(d));
        ++it->second;
    }

    void finish() override
    {
        std::int64_t wrong = 0;
        for (const auto& [key, count] : dies_)
            wrong += count != 1;
        if (wrong > 0)
            findings_.fault(std::to_string(wrong) + " of " + std::to_string(dies_.size()) +
                            " dies not cut by exactly one arc");
    }

private:
    double effective_;
    int passes_;
    double shift_;
    double radius_;
    Snap sx_, sy_;
    Tally dies_; // {X in half pitches, Y in row pitches}
};

/// Designs the case, writes its program as the start button would, reads it
/// back and checks it against the layout.
Findings checkCase(const LayoutCase& c, double tolerance = kTol)
{
    Findings findings;
    findings.tolerance = tolerance;
    const std::optional<WaferLayout> designedLayout = designed(c);
    if (!designedLayout) {
        findings.refused = true;
        return findings;
    }
    const WaferLayout& layout = *designedLayout;
    const std::string text = programFor(layout, c.passes);
    auto parsed = parseProgram(text);
    if (auto* error = std::get_if<ProgramError>(&parsed)) {
        findings.fault("not a well-formed program: " + error->text());
        return findings;
    }
    std::unique_ptr<ShapeCheck> check;
    switch (c.shape) {
    case DieShape::Circle:
        check = std::make_unique<CircleCheck>(layout, c.passes, findings);
        break;
    case DieShape::Hexagon:
        check = std::make_unique<HexagonCheck>(layout, c.passes, findings);
        break;
    case DieShape::Square:
        check = std::make_unique<SquareCheck>(layout, c.passes, findings);
        break;
    }
    const RunSummary run = runProgram(std::get<Program>(parsed), [&check](const Motion& m) { check->onMotion(m); });
    check->finish();
    if (!(run.final.head == ProgramPoint{0, 0}))
        findings.fault("ends at (" + doubleText(run.final.head.x) + ", " + doubleText(run.final.head.y) +
                       "), not at the origin");
    if (run.final.cutting)
        findings.fault("ends with a cut open");
    if (run.final.laserOn)
        findings.fault("ends with the laser on");
    if (run.cuttingMotions == 0 && dieTotal(layout) > 0)
        findings.fault("cuts nothing");
    return findings;
}

class GeneratedProgram : public testing::TestWithParam<LayoutCase> {};

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

INSTANTIATE_TEST_SUITE_P(Layouts, GeneratedProgram, testing::ValuesIn(allCases()),
                         [](const testing::TestParamInfo<LayoutCase>& info) { return caseName(info.param); });

// Many die sizes per wafer, shape and pass count: every fault of the sweep,
// named by its layout.
struct SweepCase {
    DieShape shape;
    std::string wafer;
    int passes;
};

void PrintTo(const SweepCase& c, std::ostream* out) { *out << shapeText(c.shape) << " " << c.wafer << " " << c.passes; }

class GeneratedProgramSweep : public testing::TestWithParam<SweepCase> {};

TEST_P(GeneratedProgramSweep, EveryDieSize)
{
    const SweepCase& sweep = GetParam();
    // Whole and three-decimal mil sizes are exact in the program's number
    // forms; sizes with more digits are not.
    // KERF_LONG_SWEEP=1 takes every whole mil from 10 to 1800 instead.
    const bool longSweep = std::getenv("KERF_LONG_SWEEP") != nullptr;
    std::vector<std::pair<std::string, double>> dies;
    for (int mil = longSweep ? 10 : 20; mil <= 1800; mil += longSweep ? 1 : mil < 100 ? 3 : mil < 400 ? 17 : 61)
        dies.emplace_back(std::to_string(mil), kTol);
    for (const char* size : {"33.3", "47.5", "101.1", "250.25", "38.125"})
        dies.emplace_back(size, kTol);
    for (const char* size : {"12.34567", "66.66667"})
        dies.emplace_back(size, kRoundedLengthsTol);
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

INSTANTIATE_TEST_SUITE_P(Layouts, GeneratedProgramSweep, testing::ValuesIn(sweepCases()),
                         [](const testing::TestParamInfo<SweepCase>& info) {
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

class AcceptedRun : public testing::TestWithParam<TypedText> {};

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
        << "accepted, but the program is not well formed: " << std::get<ProgramError>(parsed).text();
    const std::vector<Motion> motions = motionsOf(std::get<Program>(parsed));
    if (c.box != "passes") {
        const auto lines = [](const std::string& text) { return std::count(text.begin(), text.end(), '\n'); };
        const bool same = sameMoves(motions, motionsOf(std::get<Program>(parseProgram(*reference.program)))) &&
                          lines(*typed.program) == lines(*reference.program);
        EXPECT_TRUE(same) << "the typed text changed the program's lines or what it does";
    }
    EXPECT_FALSE(motions.empty());
}

const TypedText kTypedTexts[] = {
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

INSTANTIATE_TEST_SUITE_P(Generation, AcceptedRun, testing::ValuesIn(kTypedTexts),
                         [](const testing::TestParamInfo<TypedText>& info) { return std::string(info.param.name); });

} // namespace

TEST(GeneratedProgramFigures, HexagonPassCountsOnlyChooseTheWay)
{
    // 3 passes cut what 1 pass cuts, 4 what 2 cut: the count picks the generator.
    for (const char* die : {"47", "400"}) {
        const Findings once = checkCase({DieShape::Hexagon, "4.0 Inches", die, "", "", 1});
        const Findings thrice = checkCase({DieShape::Hexagon, "4.0 Inches", die, "", "", 3});
        const Findings twice = checkCase({DieShape::Hexagon, "4.0 Inches", die, "", "", 2});
        const Findings fourTimes = checkCase({DieShape::Hexagon, "4.0 Inches", die, "", "", 4});
        EXPECT_EQ(once.edgesByCutCount, thrice.edgesByCutCount);
        EXPECT_EQ(twice.edgesByCutCount, fourTimes.edgesByCutCount);
        ASSERT_EQ(once.edgesByCutCount.size(), 2u);
        EXPECT_EQ(once.edgesByCutCount.begin()->first, 1);
        EXPECT_EQ(twice.edgesByCutCount.begin()->first, 2);
    }
}

TEST(GeneratedProgramFigures, SquareGridWithoutDiesStillCuts)
{
    // 2.0 Inches, 700 mil: a cross of two 2-pitch lines through the centre
    // and four lines of 0 pitches closes no die, yet the program cuts the
    // cross and opens the laser on the four points.
    const Findings findings = checkCase({DieShape::Square, "2.0 Inches", "700", "", "", 1});
    EXPECT_TRUE(findings.faults.empty()) << findings.text();
    EXPECT_EQ(findings.pointCuts, 4);
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
    EXPECT_GT(gap.arcOvershoot, 0.001);
    EXPECT_LE(gap.arcOvershoot, 0.0035 + kTol);
    // Without a fine-tune every arc stays inside.
    const Findings none = checkCase({DieShape::Circle, "5.0 Inches", "50", "", "", 1});
    EXPECT_LE(none.arcOvershoot, kTol);
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
        EXPECT_EQ(error.line, hex1 - 1) << error.text();
    }
    {   // The PN of HEX2 removed: its preamble stands outside any unit.
        std::vector<std::string> lines = good;
        const std::uint32_t pn = lineOf(good, "PN HEX2");
        lines.erase(lines.begin() + (pn - 1));
        const auto error = std::get<ProgramError>(parseProgram(joined(lines)));
        EXPECT_EQ(error.kind, ProgramErrorKind::OutsideUnit);
        EXPECT_EQ(error.line, pn) << error.text();
    }
    {   // A move whose number was mangled.
        std::vector<std::string> lines = good;
        const std::uint32_t ma = main + 16; // 0-based: the line after the 17 of the opening block
        ASSERT_TRUE(lines[ma].starts_with("MA X "));
        lines[ma] = "MA X -0.8.75 Y 0\r";
        const auto error = std::get<ProgramError>(parseProgram(joined(lines)));
        EXPECT_EQ(error.kind, ProgramErrorKind::BadNumber);
        EXPECT_EQ(error.line, ma + 1) << error.text();
    }
    {   // A call of a unit that is not there.
        std::vector<std::string> lines = good;
        const std::uint32_t hex1 = lineOf(good, "HEX1", main);
        lines[hex1 - 1] = "HEX5\r";
        const auto error = std::get<ProgramError>(parseProgram(joined(lines)));
        EXPECT_EQ(error.kind, ProgramErrorKind::UnknownUnit);
        EXPECT_EQ(error.line, hex1) << error.text();
    }
}
