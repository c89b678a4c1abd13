// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cmath>
#include <optional>

#include "layout/acceptance.h"
#include "numbers/decimal.h"

namespace kerf {

/// One line of probe positions: start, start − step, start − 2·step, … along
/// one axis, at a fixed offset from the centre across it.
struct ProbeLine {
    Decimal startOffset; // first probe's offset from the centre along the line (exact)
    Decimal step;        // > 0: each probe is one step further from the centre
    double acrossOffset; // the double nearest to the exact offset across the line
};

/// The double nearest to the offset of probe k (exact: startOffset − k·step).
class ProbeOffsets {
public:
    explicit ProbeOffsets(const ProbeLine& line);
    double at(long long k) const;
    /// The line's start offset and step as doubles (for estimates).
    double start() const { return startDouble_; }
    double step() const { return stepDouble_; }

private:
    const ProbeLine& line_;
    std::optional<long long> start_; // both scaled to scale_ when they fit 62 bits
    std::optional<long long> step_;
    int scale_ = 0;
    double divisor_ = 1;
    double startDouble_ = 0;
    double stepDouble_ = 0;
};

/// The number of probes accepted before the first one that `isOutside`
/// rejects, exactly as walking them one by one would find, but by searching:
/// acceptance falls off monotonically along the line. `reach` estimates how far
/// from the centre a die may stand (only the speed depends on it). Counts above
/// `limit` are reported as limit + 1.
template <typename IsOutside>
long long countAcceptedProbes(const ProbeLine& line, double reach, long long limit, const IsOutside& isOutside);

/// The same with the line's offsets made already (lines that share a start and a step).
template <typename IsOutside>
long long countAcceptedProbes(const ProbeLine& line, const ProbeOffsets& offsets, double reach, long long limit,
                              const IsOutside& isOutside)
{
    auto outside = [&](long long k) {
        return isOutside(distanceFromOffsets(offsets.at(k), line.acrossOffset));
    };
    if (outside(0))
        return 0;
    // Estimate the first rejected probe from the geometry, then bracket it.
    const double across = line.acrossOffset;
    const double room = reach * reach - across * across;
    const double pitch = offsets.step();
    double guess = room > 0 ? (std::sqrt(room) + offsets.start()) / pitch + 1 : 1;
    if (!(guess >= 1))
        guess = 1;
    const long long first = guess > double(limit + 1) ? limit + 1 : static_cast<long long>(guess);
    long long inside = 0; // an accepted probe
    long long rejected;   // a rejected probe beyond it
    if (outside(first)) {
        rejected = first;
        for (long long stride = 1;; stride *= 2) {
            const long long probe = first - stride;
            if (probe <= 0)
                break;
            if (!outside(probe)) {
                inside = probe;
                break;
            }
            rejected = probe;
        }
    } else {
        if (first > limit)
            return limit + 1;
        inside = first;
        for (long long stride = 1;; stride *= 2) {
            const long long probe = first + stride > limit + 1 ? limit + 1 : first + stride;
            if (outside(probe)) {
                rejected = probe;
                break;
            }
            if (probe > limit)
                return limit + 1;
            inside = probe;
        }
    }
    while (rejected - inside > 1) {
        const long long middle = inside + (rejected - inside) / 2;
        if (outside(middle))
            rejected = middle;
        else
            inside = middle;
    }
    return rejected;
}

template <typename IsOutside>
long long countAcceptedProbes(const ProbeLine& line, double reach, long long limit, const IsOutside& isOutside)
{
    return countAcceptedProbes(line, ProbeOffsets(line), reach, limit, isOutside);
}

} // namespace kerf
