// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

namespace kerf {

// Reads a cutting program as the machine runs it: program units (PN, DI, II,
// EI), calls of units by name, nested SL n / EL repeats, MA and MI moves, the
// circle's ARC, OS / CS, waits, ZERO (the head's place becomes the zero that MA
// measures from) and the words that do not move. Reading has two
// steps: parseProgram checks the whole text and compiles it (cost: the text),
// runProgram expands it move by move into a visitor (cost: the expanded moves;
// nothing is stored unless the visitor stores it). runProgramRuns
// (program_runs.h) runs it by its structure instead, at the cost of its text.

/// A point of the program: inches from the wafer centre, Y up.
struct ProgramPoint {
    double x = 0;
    double y = 0;

    bool operator==(const ProgramPoint&) const = default;
};

enum class MotionKind : std::uint8_t { Straight, Arc };

/// One motion of the head, in the order the machine makes them.
struct Motion {
    MotionKind kind = MotionKind::Straight;
    /// The laser cut during the motion (it came after an OS and before its CS).
    bool cutting = false;
    /// The motion belongs to a later pass of a repeat block whose pass began in
    /// the same place, with the laser in the same state, as its first pass: it
    /// retraces exactly the path of that earlier pass (the square program's
    /// passes). A drawing shows such motions once by skipping them.
    bool retrace = false;
    /// 0 for the only move of its line; else its place (1, 2, …, at most
    /// 15) among the moves of a line such as «MA X 0.0 MA Y 0.0», which the
    /// machine may make one after the other or as one straight move.
    std::uint8_t clause = 0;
    /// 1-based line of the move word in the text.
    std::uint32_t line = 0;
    ProgramPoint from;
    ProgramPoint to;
    /// Arcs: the centre, and the angle swept in degrees (negative clockwise).
    /// A sweep of whole turns ends exactly where it began.
    ProgramPoint centre;
    double sweepDegrees = 0;

    /// The distance travelled, inches (arcs: along the arc).
    double length() const;
    /// Arcs: the distance from the centre to the start point.
    double radius() const;
};

/// Why a text is not a well-formed program.
enum class ProgramErrorKind : std::uint8_t {
    Empty,           // no program unit at all
    OutsideUnit,     // a line that is not blank outside PN ... EI
    Preamble,        // PN not followed by "DI n n" and "II"
    UnitNotClosed,   // PN without EI, or a PN before the EI of the open unit
    EIWithoutPN,     // EI outside a unit
    DuplicateUnit,   // two units of one name
    UnknownWord,     // a line whose first word is no command
    UnknownUnit,     // a lone word that is no command and no unit of the program
    BadOperands,     // a command whose operands are missing, extra or misplaced
    BadNumber,       // a number that does not parse or is out of range
    ELWithoutSL,     // EL with no open SL in its unit
    SLWithoutEL,     // SL whose unit ends before its EL
    Recursion,       // a unit that calls itself, directly or through others
};

/// What exactly a refused line does wrong, within its kind, and which of the
/// refusal's words it names (reading_error_text.h words it).
enum class ProgramFault : std::uint8_t {
    NoUnit,             // Empty
    WordOutsideUnit,    // OutsideUnit: `found`
    CommentOutsideUnit, // OutsideUnit
    NoDI,               // Preamble: `unit`
    NoII,               // Preamble: `unit`
    PreambleInBody,     // Preamble: `word` (DI or II)
    NoEI,               // UnitNotClosed: `unit`
    PNInsideUnit,       // UnitNotClosed: `unit`, `otherLine` its PN
    EIWithoutPN,        // EIWithoutPN
    SecondUnit,         // DuplicateUnit: `unit`, `otherLine` the first one's PN
    UnknownWord,        // UnknownWord: `found`
    UnknownUnit,        // UnknownUnit: `found`
    NoUnitName,         // BadOperands: a PN without a name
    NoOperands,         // BadOperands: `word` takes none, `found` follows it
    NumberMissing,      // BadOperands: the line ends after `word`
    NumberExpected,     // BadOperands: `found` after `word`
    ExtraNumber,        // BadOperands: `word` (WT, SP) takes one, `found` is more
    SettingForm,        // BadOperands: no "SP NAME = value"
    DisplayForm,        // BadOperands: no "DP NAME"
    MoveExpected,       // BadOperands: `found` where a move clause goes on
    AxisTwice,          // BadOperands: the axis `found` twice in one `word` (MA, MI)
    NoAxis,             // BadOperands: `word` (MA, MI) without X or Y; `found` instead, if any
    ArcAfterMA,         // BadOperands: ARC after an absolute move
    AfterArc,           // BadOperands: `found` after the arc
    RepeatCountForm,    // BadOperands: SL without one count
    NotNumber,          // BadNumber: `found`
    OutOfRange,         // BadNumber: `found`
    NegativeWait,       // BadNumber: `found`
    RepeatNotWhole,     // BadNumber: `found`
    RepeatOutOfRange,   // BadNumber: `found`
    ELWithoutSL,        // ELWithoutSL: `unit`
    SLWithoutEL,        // SLWithoutEL: `unit`, `otherLine` its EI
    CallsItself,        // Recursion: `unit`
    CallRecurses,       // Recursion: `unit`, called while it runs
};

/// A refusal: the line where the text stops being a program, and what is
/// wrong. The texts are the program's bytes as written, cut short.
struct ProgramError {
    std::uint32_t line = 0; // 1-based
    ProgramErrorKind kind = ProgramErrorKind::Empty;
    ProgramFault fault = ProgramFault::NoUnit;
    std::string word;           // the command or operand word at fault
    std::string found;          // the token found where it does not belong
    std::string unit;           // the name of the unit concerned
    std::uint32_t otherLine = 0; // a line the fault refers to
};

/// Bounds that keep a hostile program from running on for ever, motion by motion.
struct ReadLimits {
    /// Operations that a literal run may execute (moves, words, loop turns,
    /// calls and returns). A 20-million-die hexagon program needs about 3e8.
    std::uint64_t maxSteps = 4'000'000'000ULL;
};

/// The memory a compiled program may take, bytes.
inline constexpr std::size_t DefaultProgramMemory = std::size_t(1) << 30;

/// The compiled words of a program (program/reader/internal/program_code.h).
struct ProgramCode;

/// The time of a motion of `length` inches from rest to rest at most
/// `velocity` with `acceleration` (inches, seconds): a trapezoidal velocity
/// profile, triangular when the motion is shorter than its two ramps. NaN
/// when the speed or the acceleration is not positive.
double restToRestSeconds(double length, double velocity, double acceleration);

/// A checked, compiled program.
class Program {
public:
    struct Unit {
        std::string name;
        std::uint32_t firstLine = 0; // its PN
        std::uint32_t lastLine = 0;  // its EI
    };

    /// The units in file order.
    const std::vector<Unit>& units() const { return units_; }
    /// The unit the machine runs: the last of the file (the main unit follows
    /// its subroutines). A default-made Program has no unit and runs nothing.
    std::size_t entryUnit() const { return units_.empty() ? 0 : units_.size() - 1; }
    /// The motions that a full run produces (for a progress bar).
    std::uint64_t expandedMotions() const { return expandedMotions_; }
    /// The steps that a full run executes (see ReadLimits).
    std::uint64_t expandedSteps() const { return expandedSteps_; }

private:
    friend struct ProgramBuilder;
    friend struct ProgramRunner;
    friend struct StructuredRunner;
    std::vector<Unit> units_;
    std::shared_ptr<const ProgramCode> code_; // none while the program has no unit
    std::uint64_t expandedMotions_ = 0;
    std::uint64_t expandedSteps_ = 0;
};

/// Checks and compiles a program text (CR LF or LF lines; the last line may
/// lack its end). Numbers are read without the locale. A text is refused,
/// never half read: the first fault of its lines in line order, else the first
/// call that recurses. Consecutive words of the same effect that change only
/// the laser's or the cut's state (OS OS, CS CS, …) compile to one. A text
/// whose compiled program would take more than `memoryBound` bytes is not
/// compiled: the reading ends as memory that runs out does (std::bad_alloc).
std::variant<Program, ProgramError> parseProgram(std::string_view text,
                                                 std::size_t memoryBound = DefaultProgramMemory);

/// The machine's state between motions.
struct MachineState {
    ProgramPoint head;    // starts at the origin
    /// The machine's zero, that MA measures from: the origin until a ZERO
    /// where the head stands elsewhere moves it there.
    ProgramPoint zero;
    bool cutting = false; // OS opened a cut that no CS has closed
    bool laserOn = false; // LASON given and no OFF since
};

/// What a run did.
struct RunSummary {
    MachineState final;
    std::uint64_t motions = 0;
    std::uint64_t cuttingMotions = 0;
    std::uint64_t cuts = 0;         // OS words that opened a cut
    double cutLength = 0;           // inches along cutting motions
    double travelLength = 0;        // inches along the others
    double waitSeconds = 0;         // the sum of the WT words run
    /// ZERO words run where the head stood off the machine's zero: each moved
    /// the zero, so later absolute moves land elsewhere. The generator never
    /// writes one; the machine's own zero then decides where the cuts land.
    std::uint64_t zeroShifts = 0;
    /// Their lines, each once, in the order first run (at most ZeroShiftLinesKept).
    std::vector<std::uint32_t> zeroShiftLines;
    /// How long the machine runs: each motion from rest to rest with a
    /// trapezoidal velocity profile (moves at SP DVL with acceleration SP DAC,
    /// arcs at their VEL and ACC, else at those), plus the waits. Seconds.
    double machineSeconds = 0;
    /// False when a motion had no positive speed and acceleration to go by.
    bool machineTimeKnown = true;
    bool stopped = false;           // the visitor asked to stop
    /// The run went past its bounds and stopped: the figures are partial.
    bool beyondBounds = false;
};

/// How many lines of ZERO words off the zero a run keeps.
inline constexpr std::size_t ZeroShiftLinesKept = 50;

/// Receives the motions of a run in machine order.
class MotionVisitor {
public:
    virtual ~MotionVisitor() = default;
    /// Return false to stop the run after this motion.
    virtual bool onMotion(const Motion& motion) = 0;
};

/// Runs the program from its entry unit, head at the origin, laser off,
/// motion by motion. A program whose run takes more steps than `limits`
/// allow is not run: the summary says it is beyond the bounds.
RunSummary runProgram(const Program& program, MotionVisitor& visitor, const ReadLimits& limits = {});

/// The same with a callable taking a `const Motion&` and returning bool
/// (false stops) or nothing.
template <class F>
    requires std::is_invocable_v<F&, const Motion&>
RunSummary runProgram(const Program& program, F&& onMotion, const ReadLimits& limits = {})
{
    struct Adapter final : MotionVisitor {
        F& f;
        explicit Adapter(F& fn) : f(fn) {}
        bool onMotion(const Motion& motion) override
        {
            if constexpr (std::is_same_v<std::invoke_result_t<F&, const Motion&>, bool>)
                return f(motion);
            else {
                f(motion);
                return true;
            }
        }
    } adapter(onMotion);
    return runProgram(program, static_cast<MotionVisitor&>(adapter), limits);
}

/// Every motion of a program, stored, and its summary.
struct ProgramTrace {
    std::vector<Motion> motions;
    RunSummary summary;
};

/// Parses and runs a program, keeping every motion: for small programs and
/// tests. Large programs are better run with a visitor. A run beyond `limits`
/// keeps no motion and says so in its summary.
std::variant<ProgramTrace, ProgramError> readProgram(std::string_view text, const ReadLimits& limits = {});

} // namespace kerf
