// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "layout/wafer_layout.h"
#include "program/reader/program_reader.h"

namespace kerf {

class DieCounts;

// What a check of a program's cuts is asked (CutCheckOptions) and what it
// reports (CutReport): the types every part of the check fills in, below all
// of them.

/// Where the pass count that a check expects comes from.
enum class PassSource : std::uint8_t {
    Given, // CutCheckOptions::passes
    Dies,  // the cuts most dies receive (the fewest of any edge, the turns of a round die), at least 1
};

struct CutCheckOptions {
    /// How often every edge must be cut; none: as most dies are (see PassSource).
    std::optional<int> passes;
    /// How far a cut end may lie from its lattice point, inches. The default
    /// (0.05 mil) absorbs the six-decimal rounding of the programs' lengths.
    double tolerance = 5e-5;
    /// How many entries each list of the report keeps; the totals count all.
    std::size_t listLimit = 50;
    /// Called now and then with the work done and the whole work (motions run,
    /// then dies looked at); returning false cancels the check.
    std::function<bool(std::uint64_t done, std::uint64_t total)> progress;
    /// Run the program motion by motion instead of by its runs of equal
    /// motions, and look at the square grid's cells one by one instead of by
    /// rows: slower, the reference the fast check is compared with.
    bool literal = false;
    /// When set, gets every die's count, by rows (see DieCounts): what a
    /// comparison of two programs compares.
    DieCounts* dieCounts = nullptr;
};

/// Why a check could not be carried out. Such a program is not known to be
/// wrong: only too large for the check's bounds or for the memory at hand.
enum class Unchecked : std::uint8_t {
    No,          // the check was carried out
    TooLarge,    // running or matching the program goes past the bounds of work
    OutOfMemory, // the memory ran out
};

/// The reason as the windows and the command line give it.
const char* uncheckedText(Unchecked reason);

/// The assumption behind CutReport::machineSeconds, in one line.
const char* machineTimeAssumption();

/// A die left uncut or cut fewer times than expected.
struct UncutDie {
    int row = 0; // from the top, 1-based, as forEachDieCentre numbers them
    int die = 0; // from the left in its row, 1-based
    ProgramPoint centre;
    /// Edges cut too few times, bit k for edge k. Hexagons: 0 left, 1 upper
    /// left, 2 upper right, 3 right, 4 lower right, 5 lower left. Squares: 0
    /// left, 1 top, 2 right, 3 bottom. Circles: 0.
    std::uint8_t uncutEdges = 0;
    /// Circles: the whole turns cut about the die. Others: the fewest cuts of
    /// any of its edges.
    int cuts = 0;
};

/// A cutting motion that the report points at.
struct FlaggedCut {
    std::uint32_t line = 0; // 1-based line of its move word
    ProgramPoint from;
    ProgramPoint to;
};

/// What a program cuts of a layout.
struct CutReport {
    DieShape shape = DieShape::Circle;
    int passes = 1;
    PassSource passSource = PassSource::Dies;

    // The run.
    std::uint64_t motions = 0;
    std::uint64_t cuttingMotions = 0;
    std::uint64_t cuts = 0;  // OS words that opened a cut
    double cutLength = 0;    // inches
    double travelLength = 0; // inches
    std::uint64_t pointCuts = 0; // cutting motions of no length

    // The dies.
    std::int64_t dies = 0;
    std::int64_t diesFullyCut = 0;
    std::int64_t uncutDies = 0;
    std::vector<UncutDie> uncut; // the first listLimit, in row order
    /// Hexagon edges or square die sides cut too few times, each counted once.
    std::int64_t uncutEdges = 0;
    /// How many elements were cut how many times: hexagon edges (each once),
    /// pieces of the square grid's lines a pitch long, round dies (whole turns).
    std::map<int, std::int64_t> elementsByCutCount;

    // Cuts where none belongs.
    std::int64_t outsideCuts = 0; // past the effective circle
    std::vector<FlaggedCut> outside;
    std::int64_t strayCuts = 0;   // with some part on no die edge, grid line or die arc
    std::vector<FlaggedCut> stray;
    /// Lines of several moves («MA X … MA Y …») run with the laser on, each
    /// run counted: the machine may make the moves one after the other or as
    /// one straight move, so they are never credited.
    std::int64_t uncertainPaths = 0;
    std::vector<FlaggedCut> uncertain; // the first move of each
    /// Circles: how far the farthest arc reaches past the effective circle
    /// (negative: inside). Arcs may pass it by half the fine-tune, no farther.
    double arcOvershoot = 0;
    /// The farthest that a cut end matched to the lattice lies from its point, inches.
    double worstDeviation = 0;
    /// The farthest that a die centre or a grid line of the layout lies from
    /// the lattice, inches (0 for the layouts of the design driver).
    double latticeDeviation = 0;

    /// ZERO words run where the head stood off the machine's zero (each time
    /// counted), and their lines (each once, in run order): the cuts after one
    /// are judged where they then land, but the program is wrong.
    std::int64_t zeroShifts = 0;
    std::vector<std::uint32_t> zeroShiftLines;

    // The end of the run.
    ProgramPoint end;
    bool laserOff = true; // no LASON left without its OFF
    bool cutOpen = false; // an OS left without its CS

    /// The machine's running time, seconds (see RunSummary::machineSeconds);
    /// none when a motion had no speed to go by.
    std::optional<double> machineSeconds;

    bool cancelled = false; // the progress callback stopped the check: figures are partial
    /// The check could not be carried out: the figures are partial and say
    /// nothing about the program.
    Unchecked unchecked = Unchecked::No;

    /// Every die fully cut (and the check ran to its end).
    bool allCut() const { return !cancelled && unchecked == Unchecked::No && uncutDies == 0; }
    /// Every die fully cut, no cut outside the effective circle or on no die
    /// edge, no cut of an uncertain path and no ZERO off the zero.
    bool clean() const
    {
        return allCut() && outsideCuts == 0 && strayCuts == 0 && uncertainPaths == 0 && zeroShifts == 0;
    }
};

/// "given", "dies".
const char* passSourceText(PassSource source);

} // namespace kerf
