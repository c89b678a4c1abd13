// SPDX-License-Identifier: GPL-3.0-or-later
#include "program/check/internal/check_state.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

namespace kerf::cutcheck {

namespace {

/// The farthest distance from the wafer centre that an arc reaches.
double arcReach(const Motion& m)
{
    const double r = m.radius();
    const double centre = std::hypot(m.centre.x, m.centre.y);
    if (std::abs(m.sweepDegrees) >= 360.0 || centre == 0)
        return centre + r;
    // The farthest point of the whole circle lies away from the wafer centre;
    // the arc reaches it only when its sweep passes that angle.
    constexpr double turn = 2 * std::numbers::pi;
    const double start = std::atan2(m.from.y - m.centre.y, m.from.x - m.centre.x);
    const double away = std::atan2(m.centre.y, m.centre.x);
    const double sweep = m.sweepDegrees * (std::numbers::pi / 180.0);
    double ahead = std::fmod(sweep >= 0 ? away - start : start - away, turn);
    if (ahead < 0)
        ahead += turn;
    if (ahead <= std::abs(sweep))
        return centre + r;
    return std::max(std::hypot(m.from.x, m.from.y), std::hypot(m.to.x, m.to.y));
}

/// The farthest an arc reaches along the unit direction (nx, ny).
double arcReachAlong(const Motion& m, double nx, double ny)
{
    const double r = m.radius();
    const double centre = m.centre.x * nx + m.centre.y * ny;
    if (std::abs(m.sweepDegrees) >= 360.0)
        return centre + r;
    constexpr double turn = 2 * std::numbers::pi;
    const double start = std::atan2(m.from.y - m.centre.y, m.from.x - m.centre.x);
    const double away = std::atan2(ny, nx);
    const double sweep = m.sweepDegrees * (std::numbers::pi / 180.0);
    double ahead = std::fmod(sweep >= 0 ? away - start : start - away, turn);
    if (ahead < 0)
        ahead += turn;
    if (ahead <= std::abs(sweep))
        return centre + r;
    return std::max(m.from.x * nx + m.from.y * ny, m.to.x * nx + m.to.y * ny);
}

} // namespace

bool CheckState::arcBehindLines(const Motion& m, double allowance) const
{
    for (const KeepOutLine& l : keepOut_)
        if (!(arcReachAlong(m, l.nx, l.ny) - l.k <= allowance + tolerance))
            return false;
    return true;
}

CheckState::CheckState(CutReport& report, const CutCheckOptions& options, double radius,
                       std::vector<KeepOutLine> keepOut)
    : report(report), options(options), tolerance(options.tolerance >= 0 ? options.tolerance : 0), radius(radius),
      keepOut_(std::move(keepOut)), outside_(options.listLimit), stray_(options.listLimit),
      uncertain_(options.listLimit)
{
    const double limit = radius + tolerance;
    limitSquared_ = limit * limit;
}

void CheckState::listFlagged()
{
    report.outside = outside_.inOrder();
    report.stray = stray_.inOrder();
    report.uncertain = uncertain_.inOrder();
}

void CheckState::arc(const Motion& m, double allowance)
{
    const double overshoot = arcReach(m) - radius;
    overshoot_ = std::max(overshoot_, overshoot);
    if (!(overshoot <= allowance + tolerance) || !arcBehindLines(m, allowance))
        flag(report.outsideCuts, outside_, m);
}

bool CheckState::arcsWithin(const Motion& a, const Motion& b, double allowance)
{
    const double reach = std::max(arcReach(a), arcReach(b)) - radius;
    if (!(reach <= allowance + tolerance) || !arcBehindLines(a, allowance) || !arcBehindLines(b, allowance))
        return false;
    overshoot_ = std::max(overshoot_, reach);
    return true;
}

void CheckState::flag(std::int64_t& total, FlagList& list, const Motion& m)
{
    const auto most = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
    total = static_cast<std::int64_t>(std::min(static_cast<std::uint64_t>(total) + std::min(times, most), most));
    for (const std::uint64_t offset : retraceOffsets)
        if (!list.add(ordinal + offset, {m.line, m.from, m.to}))
            break;
}

} // namespace kerf::cutcheck
