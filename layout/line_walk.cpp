// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/line_walk.h"

#include <algorithm>

namespace kerf {
namespace {

constexpr long long ExactInDouble = 1LL << 53;

double pow10(int n)
{
    double p = 1;
    for (int i = 0; i < n; ++i)
        p *= 10;
    return p;
}

} // namespace

ProbeOffsets::ProbeOffsets(const ProbeLine& line)
    : line_(line), startDouble_(line.startOffset.toDouble()), stepDouble_(line.step.toDouble())
{
    scale_ = std::max(line.startOffset.scale(), line.step.scale());
    if (scale_ <= 22) {
        start_ = line.startOffset.scaledInteger(scale_);
        step_ = line.step.scaledInteger(scale_);
        divisor_ = pow10(scale_);
    }
}

double ProbeOffsets::at(long long k) const
{
    // A whole number below 2^53 over an exact power of ten: one correctly
    // rounded division, the same double as the decimal's own conversion.
    if (start_ && step_ && k < (1LL << 20) && *step_ < (1LL << 40)) {
        const long long m = *start_ - k * *step_;
        if (m > -ExactInDouble && m < ExactInDouble)
            return double(m) / divisor_;
    }
    return (line_.startOffset - line_.step * k).toDouble();
}

} // namespace kerf
