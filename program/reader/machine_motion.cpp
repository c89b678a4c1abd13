// SPDX-License-Identifier: GPL-3.0-or-later
#include "program/reader/internal/program_code.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace kerf {

using detail::Op;
using detail::OpCode;

double Motion::radius() const
{
    return kind == MotionKind::Arc ? std::hypot(from.x - centre.x, from.y - centre.y) : 0.0;
}

double Motion::length() const
{
    if (kind == MotionKind::Arc)
        return std::abs(sweepDegrees) * (std::numbers::pi / 180.0) * radius();
    return std::hypot(to.x - from.x, to.y - from.y);
}

double restToRestSeconds(double length, double velocity, double acceleration)
{
    if (!(velocity > 0) || !(acceleration > 0))
        return std::numeric_limits<double>::quiet_NaN();
    // Ramping up to full speed and down again takes v²/a inches.
    const double ramps = velocity * velocity / acceleration;
    if (length >= ramps)
        return length / velocity + velocity / acceleration;
    return 2 * std::sqrt(length / acceleration);
}

namespace detail {

bool Speeds::operator==(const Speeds& o) const
{
    const auto same = [](double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); };
    return same(velocity, o.velocity) && same(acceleration, o.acceleration);
}

/// How far the head may stand from the zero for a ZERO to change nothing,
/// inches: far below the programs' six decimals, above the rounding of adding moves.
constexpr double ZeroTolerance = 1e-9;

void applyStateWord(const Op& o, MachineState& state, RunSummary& summary, Speeds& speeds)
{
    switch (o.code) {
    case OpCode::Open:
        if (!state.cutting)
            ++summary.cuts;
        state.cutting = true;
        break;
    case OpCode::Close:
        state.cutting = false;
        break;
    case OpCode::LaserOn:
        state.laserOn = true;
        break;
    case OpCode::LaserOff:
        state.laserOn = false;
        state.cutting = false;
        break;
    case OpCode::Wait:
        summary.waitSeconds += o.x;
        summary.machineSeconds += o.x;
        break;
    case OpCode::Speed:
        (o.word == SpeedDVL ? speeds.velocity : speeds.acceleration) = o.x;
        break;
    case OpCode::Zero:
        // A ZERO where the head stands on the zero (the opening block's) changes nothing.
        if (!(std::abs(state.head.x - state.zero.x) <= ZeroTolerance &&
              std::abs(state.head.y - state.zero.y) <= ZeroTolerance)) {
            ++summary.zeroShifts;
            auto& lines = summary.zeroShiftLines;
            if (lines.size() < ZeroShiftLinesKept && std::find(lines.begin(), lines.end(), o.line) == lines.end())
                lines.push_back(o.line);
            state.zero = state.head;
        }
        break;
    default:
        break;
    }
}

} // namespace detail

namespace {

// Plain root of the sum of squares: the coordinates are inches, far from
// where std::hypot's guard against overflow matters, and it is much faster.
double distance(double dx, double dy) { return std::sqrt(dx * dx + dy * dy); }

/// Where an absolute coordinate lands from the machine's zero (a "-0" stays one at the origin).
double absolute(double zero, double value) { return zero == 0 ? value : zero + value; }

/// Makes the motion of a Move or Arc op that starts at `head`, with absolute
/// coordinates measured from `zero`: its kind, ends, centre and sweep.
/// Returns its length.
double makeMotion(const Op& o, const detail::ArcOperands* arcs, ProgramPoint head, ProgramPoint zero, Motion& m)
{
    m.from = head;
    // Work in locals: the head's new place is stored once, whole, so that the
    // next motion's load of it is not stalled.
    double x = head.x;
    double y = head.y;
    double length = 0;
    if (o.code == OpCode::Move) {
        m.kind = MotionKind::Straight;
        m.sweepDegrees = 0;
        m.centre = {};
        if (o.hasX)
            x = o.relative ? x + o.x : absolute(zero.x, o.x);
        if (o.hasY)
            y = o.relative ? y + o.y : absolute(zero.y, o.y);
        length = distance(x - head.x, y - head.y);
    } else {
        const detail::ArcOperands& arc = arcs[o.target];
        m.kind = MotionKind::Arc;
        m.sweepDegrees = arc.sweep;
        const double cx = x + arc.x;
        const double cy = y + arc.y;
        m.centre = {cx, cy};
        if (!arc.wholeTurns) {
            const double angle = arc.sweep * (std::numbers::pi / 180.0);
            const double c = std::cos(angle);
            const double s = std::sin(angle);
            const double dx = x - cx;
            const double dy = y - cy;
            x = cx + dx * c - dy * s;
            y = cy + dx * s + dy * c;
        } // whole turns end exactly where they began
        length = std::abs(arc.sweep) * (std::numbers::pi / 180.0) * distance(arc.x, arc.y);
    }
    m.to = {x, y};
    return length;
}

/// The seconds of a motion of `length`: an arc at its own speed where it
/// gives one, else at `speeds`.
double motionSeconds(const detail::ArcSpeed* arc, double length, const detail::Speeds& speeds)
{
    double v = speeds.velocity;
    double a = speeds.acceleration;
    if (arc) {
        if (!std::isnan(arc->velocity))
            v = arc->velocity;
        if (!std::isnan(arc->acceleration))
            a = arc->acceleration;
    }
    return restToRestSeconds(length, v, a);
}

} // namespace

void detail::runMotion(const Op& o, const ArcOperands* arcs, const ArcSpeed* arcSpeeds, const Speeds& speeds, bool retrace,
                       RunSummary& summary, Motion& m)
{
    MachineState& state = summary.final;
    m.line = o.line;
    m.cutting = state.cutting;
    m.retrace = retrace;
    m.clause = o.clause;
    const double length = makeMotion(o, arcs, state.head, state.zero, m);
    state.head = m.to;
    ++summary.motions;
    if (m.cutting) {
        ++summary.cuttingMotions;
        summary.cutLength += length;
    } else {
        summary.travelLength += length;
    }
    const double seconds = motionSeconds(
        o.code == OpCode::Arc && arcs[o.target].speed != NoArcSpeed ? &arcSpeeds[arcs[o.target].speed] : nullptr,
        length, speeds);
    if (std::isnan(seconds))
        summary.machineTimeKnown = false;
    else
        summary.machineSeconds += seconds;
}

// Runs the compiled ops literally: a call pushes the caller's place, a
// repeat block jumps back to its body until its passes are done.
} // namespace kerf
