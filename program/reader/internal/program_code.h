// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <memory_resource>
#include <span>
#include <vector>

#include "memory/large_pages.h"
#include "program/reader/program_reader.h"

// The compiled form of a program and the one switch over its words that both
// runners (program_runner.cpp, program_runs.cpp) run it by. Included only by
// the reader's own sources.

namespace kerf {
namespace detail {

enum class OpCode : std::uint8_t { Move, Arc, Open, Close, LaserOn, LaserOff, Wait, Speed, Call, Loop, EndLoop, Zero };
/// SP words the machine time goes by (Speed: its `word`).
enum SpeedWord : std::uint32_t { SpeedDVL = 0, SpeedDAC = 1 };
inline constexpr std::uint32_t NoArcSpeed = 0xFFFFFFFFu;
/// A compiled word: 24 bytes, so that a program of millions of lines takes
/// little more memory than its text.
struct Op {
    union {
        double x = 0;         // Move: X operand; Wait: seconds; Speed: the value
        std::uint32_t target; // Call: unit index; Loop: its EndLoop; EndLoop: its Loop; Arc: its ArcOperands
    };
    union {
        double y = 0;        // Move: Y operand
        std::uint32_t count; // Loop: passes (at least 1)
        std::uint32_t word;  // Speed: its SpeedWord
    };
    std::uint32_t line = 0;
    OpCode code = OpCode::Move;
    bool relative : 1 = false; // Move: MI rather than MA
    bool hasX : 1 = false;
    bool hasY : 1 = false;
    std::uint8_t clause : 4 = 0; // Move, Arc: Motion::clause
};
static_assert(sizeof(Op) == 24);
/// What an arc's MI … ARC gives: the centre's offset, the sweep in degrees,
/// whether it is whole turns, and its VEL and ACC among the program's arc
/// speeds (NoArcSpeed: none).
struct ArcOperands {
    double x = 0;
    double y = 0;
    double sweep = 0;
    std::uint32_t speed = NoArcSpeed;
    bool wholeTurns = false;
};
/// The speed and acceleration an arc gives with VEL and ACC (NaN: not given).
struct ArcSpeed {
    double velocity = 0;
    double acceleration = 0;
};

/// The speeds that motions go by, as SP words set them (NaN: not yet set).
struct Speeds {
    double velocity;
    double acceleration;
    bool operator==(const Speeds& o) const;
};

/// Makes the motion of a Move or Arc op where the head stands (its kind,
/// ends, centre, sweep, line, cut and `retrace`), moves the head there and
/// adds the motion to the summary's counts, lengths and machine time.
/// `arcs`: the program's arcs, that an Arc's `target` indexes; `arcSpeeds`:
/// its arc speeds, that an arc's `speed` indexes.
void runMotion(const Op& o, const ArcOperands* arcs, const ArcSpeed* arcSpeeds, const Speeds& speeds, bool retrace, RunSummary& summary,
               Motion& m);
/// Applies a word that changes the machine's state without moving it (Open,
/// Close, LaserOn, LaserOff, Wait, Speed, Zero) to `state`, `summary` and `speeds`.
void applyStateWord(const Op& o, MachineState& state, RunSummary& summary, Speeds& speeds);

/// Hands an op to the runner's handler of its kind: `motion(o)`,
/// `stateWord(o)`, `call(o, at)`, `loop(o, at)`, `endLoop(at)`, where `at` is
/// the runner's place in the code. False when the run is to stop.
template <class Runner, class Place>
bool runOp(const Op& o, Runner& runner, Place& at)
{
    switch (o.code) {
    case OpCode::Move:
    case OpCode::Arc:
        return runner.motion(o);
    case OpCode::Open:
    case OpCode::Close:
    case OpCode::LaserOn:
    case OpCode::LaserOff:
    case OpCode::Wait:
    case OpCode::Speed:
    case OpCode::Zero:
        runner.stateWord(o);
        return true;
    case OpCode::Call:
        return runner.call(o, at);
    case OpCode::Loop:
        return runner.loop(o, at);
    case OpCode::EndLoop:
        return runner.endLoop(at);
    }
    return true;
}

} // namespace detail

/// A program's compiled words: the ops of all units, unit after unit (an
/// op's Loop and EndLoop targets count from its unit's first op), and the
/// arcs and arc speeds that they index.
struct ProgramCode {
    std::pmr::vector<detail::Op> ops{largePageMemory()};
    std::vector<std::uint32_t> unitStarts; // per unit its first op; one more: the end
    std::vector<detail::ArcOperands> arcs;
    std::vector<detail::ArcSpeed> arcSpeeds;

    /// The ops of unit `u`.
    std::span<const detail::Op> unit(std::size_t u) const
    {
        return std::span<const detail::Op>(ops).subspan(unitStarts[u], unitStarts[u + 1] - unitStarts[u]);
    }
};

} // namespace kerf
