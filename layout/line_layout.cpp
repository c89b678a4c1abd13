// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/line_layout.h"

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <limits>

#include "layout/line_walk.h"

namespace kerf {
namespace {

constexpr long long MaxCount = std::numeric_limits<std::int16_t>::max(); // 32767
constexpr int MaxHalf = (MaxCount + 1) / 2; // K, so that 2K − 1 records fit

} // namespace

LayoutFailure layOutLines(const LineLayoutRules& rules, LayoutTable& table)
{
    if (rules.alongPitch <= Decimal() || rules.acrossPitch <= Decimal())
        return LayoutFailure::NoPositivePitch;

    const bool rows = rules.along == LineLayoutRules::Axis::X;
    const LayoutPoint& centre = waferCentre();
    const Decimal& centreAlong = rows ? centre.X : centre.Y;
    const Decimal& centreAcross = rows ? centre.Y : centre.X;
    const Number centreAcrossCopy = Number::ofSingle(rows ? CenterY : CenterX);

    auto store = [&](LayoutRow& row, const Number& along, const Number& across) {
        (rows ? row.PosX : row.PosY) = along;
        (rows ? row.PosY : row.PosX) = across;
        rules.setRelative(row);
    };

    const Decimal acrossStep = rules.acrossPitch * rules.acrossDirection;
    LayoutTable result;
    // First half: the centre line, then lines away from it.
    Decimal along = centreAlong;
    Decimal across = centreAcross;
    int half = 0;
    for (;;) {
        const ProbeLine line{along - centreAlong, rules.alongPitch, (across - centreAcross).toDouble()};
        // A line holds at most 16384 probes for its count to fit 16 bits.
        const long long n = countAcceptedProbes(line, rules.reach, MaxHalf, rules.isOutside);
        if (n == 0)
            break;
        if (++half > MaxHalf)
            return LayoutFailure::TooManyRows;
        const bool odd = half % 2 == 1;
        const long long count = rules.cutLines ? 2 * (n - 1) : (odd ? 2 * n - 1 : 2 * n);
        if (count > MaxCount)
            return LayoutFailure::RowTooLong;

        // The stored end is the last accepted probe (the first rejected one plus a pitch).
        const Decimal lastProbe = along - rules.alongPitch * (n - 1);
        if (half == 1)
            result.redim(1);
        else
            result.grow();
        LayoutRow& row = result[half];
        const Number acrossValue = half == 1 ? centreAcrossCopy : Number::ofDecimal(across);
        store(row, Number::ofDecimal(lastProbe), acrossValue);
        row.DieCount = static_cast<std::int16_t>(count);

        along = centreAlong;
        across = across + acrossStep;
        if (odd)
            along = along - rules.oddLineShift;
    }
    if (half == 0)
        return LayoutFailure::CentreDoesNotFit;

    // Second half: record half + j mirrors record j + 1, one pitch further on
    // the other side of the centre line each.
    for (int index = half + 1, source = 2; index <= 2 * half - 1; ++index, ++source) {
        result.grow();
        const LayoutRow& previous = result[index == half + 1 ? 1 : index - 1];
        const Number previousAcross = rows ? previous.PosY : previous.PosX;
        const Number mirroredAlong = rows ? result[source].PosX : result[source].PosY;
        LayoutRow& row = result[index];
        store(row, mirroredAlong,
              Number::ofDecimal(previousAcross.toDecimal() - acrossStep));
        row.DieCount = result[source].DieCount;
    }
    table = std::move(result);
    return LayoutFailure::None;
}

namespace {

double powerOfTen(int n)
{
    double p = 1;
    for (int i = 0; i < n; ++i)
        p *= 10;
    return p;
}

} // namespace

LayoutFailure countLines(const LineLayoutRules& rules, LineCounts& counts)
{
    if (rules.alongPitch <= Decimal() || rules.acrossPitch <= Decimal())
        return LayoutFailure::NoPositivePitch;

    const bool rows = rules.along == LineLayoutRules::Axis::X;
    const LayoutPoint& centre = waferCentre();
    const Decimal& centreAlong = rows ? centre.X : centre.Y;
    // A line starts at the centre, or one shift further along after an odd
    // line: the same decimals as layOutLines' walk.
    const ProbeLine starts[2] = {{centreAlong - centreAlong, rules.alongPitch, 0.0},
                                 {(centreAlong - rules.oddLineShift) - centreAlong, rules.alongPitch, 0.0}};
    const ProbeOffsets offsets[2] = {ProbeOffsets(starts[0]), ProbeOffsets(starts[1])};
    // Line L lies (L − 1) steps across: the double nearest to that exact
    // decimal, as a whole number over a power of ten while it fits.
    const Decimal acrossStep = rules.acrossPitch * rules.acrossDirection;
    const int scale = acrossStep.scale();
    const std::optional<long long> scaledStep = scale <= 22 ? acrossStep.scaledInteger(scale) : std::nullopt;
    const double divisor = powerOfTen(scale);
    const auto acrossOffset = [&](long long steps) {
        if (scaledStep && std::llabs(*scaledStep) < (1LL << 31) && steps < (1LL << 21))
            return double(*scaledStep * steps) / divisor;
        return (acrossStep * steps).toDouble();
    };

    LineCounts result;
    for (int line = 1;; ++line) {
        const bool shifted = line % 2 == 0;
        const ProbeLine probe{starts[shifted].startOffset, rules.alongPitch, acrossOffset(line - 1)};
        const long long n = countAcceptedProbes(probe, offsets[shifted], rules.reach, MaxHalf, rules.isOutside);
        if (n == 0)
            break;
        if (line > MaxHalf)
            return LayoutFailure::TooManyRows;
        const bool odd = line % 2 == 1;
        const long long count = rules.cutLines ? 2 * (n - 1) : (odd ? 2 * n - 1 : 2 * n);
        if (count > MaxCount)
            return LayoutFailure::RowTooLong;
        // Records 2 … half come again, mirrored, as records half + 1 … 2·half − 1.
        result.dies += line == 1 ? count : 2 * count;
        if (line == 1)
            result.firstCount = count;
        result.records = 2 * line - 1;
    }
    if (result.records == 0)
        return LayoutFailure::CentreDoesNotFit;
    counts = result;
    return LayoutFailure::None;
}

} // namespace kerf
