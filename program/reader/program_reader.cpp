#include "program/reader/program_reader.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <new>
#include <numbers>
#include <optional>
#include <unordered_map>

#include "numbers/number_scan.h"
#include "program/words/command_words.h"

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

std::string ProgramError::text() const
{
    return "line " + std::to_string(line) + ": " + message;
}

namespace {

// Plain root of the sum of squares: the coordinates are inches, far from
// where std::hypot's guard against overflow matters, and it is much faster.
double distance(double dx, double dy) { return std::sqrt(dx * dx + dy * dy); }

constexpr std::uint64_t Saturated = std::numeric_limits<std::uint64_t>::max();

std::uint64_t addSat(std::uint64_t a, std::uint64_t b)
{
    return a > Saturated - b ? Saturated : a + b;
}

std::uint64_t mulSat(std::uint64_t a, std::uint64_t b)
{
    return (b != 0 && a > Saturated / b) ? Saturated : a * b;
}

/// A token as a message shows it: quoted, cut short, bytes that are not
/// printable ASCII as \xNN.
std::string quoted(std::string_view token)
{
    constexpr std::size_t Shown = 40;
    std::string out = "'";
    for (std::size_t i = 0; i < token.size() && i < Shown; ++i) {
        const auto c = static_cast<unsigned char>(token[i]);
        if (c >= 0x20 && c < 0x7f) {
            out += static_cast<char>(c);
        } else {
            constexpr char hex[] = "0123456789ABCDEF";
            out += "\\x";
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    if (token.size() > Shown)
        out += "...";
    return out + "'";
}

enum class NumberRead { Ok, NotNumber, OutOfRange };

// The program writes no "+", and its tokens hold no blanks.
constexpr NumberGrammar ProgramGrammar{.plusSign = false, .surroundingSpaces = false};

NumberRead readNumber(std::string_view token, double& value)
{
    const auto number = scanNumber(token, ProgramGrammar);
    if (!number)
        return NumberRead::NotNumber;
    const auto read = toDouble(*number);
    if (!read)
        return NumberRead::OutOfRange;
    value = *read;
    return NumberRead::Ok;
}

/// Decimal digits only.
std::optional<std::uint64_t> readWhole(std::string_view token)
{
    if (token.empty() || !std::all_of(token.begin(), token.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    std::uint64_t value = 0;
    const auto [end, ec] = std::from_chars(token.data(), token.data() + token.size(), value);
    if (ec != std::errc() || end != token.data() + token.size())
        return std::nullopt;
    return value;
}

bool looksNumeric(std::string_view token)
{
    return !token.empty() && (token[0] == '-' || token[0] == '+' || token[0] == '.' ||
                              (token[0] >= '0' && token[0] <= '9'));
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

void splitTokens(std::string_view line, std::vector<std::string_view>& tokens)
{
    tokens.clear();
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && isBlank(line[i]))
            ++i;
        const std::size_t start = i;
        while (i < line.size() && !isBlank(line[i]))
            ++i;
        if (i > start)
            tokens.push_back(line.substr(start, i - start));
    }
}

/// The text of a line between its first and last token.
std::string_view trimmed(std::string_view line)
{
    std::size_t b = 0;
    std::size_t e = line.size();
    while (b < e && isBlank(line[b]))
        ++b;
    while (e > b && isBlank(line[e - 1]))
        --e;
    return line.substr(b, e - b);
}

/// Walks the lines of a text: LF ends a line, a CR before it is dropped.
class LineWalker {
public:
    explicit LineWalker(std::string_view text) : text_(text) {}
    bool next(std::string_view& line)
    {
        if (pos_ >= text_.size())
            return false;
        std::size_t end = text_.find('\n', pos_);
        if (end == std::string_view::npos)
            end = text_.size();
        line = text_.substr(pos_, end - pos_);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        pos_ = end + 1;
        ++number_;
        return true;
    }
    std::uint32_t number() const { return number_; }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
    std::uint32_t number_ = 0;
};

/// The name a PN line gives its unit.
std::string_view unitNameOf(std::string_view line)
{
    std::string_view rest = trimmed(line);
    rest.remove_prefix(wordText(CommandWord::PN).size());
    return trimmed(rest);
}

} // namespace

struct ProgramBuilder {
    enum class Stage { Outside, AfterPN, AfterDI, Body };

    ProgramBuilder(std::string_view text, std::size_t memoryBound)
        : text_(text), mostOps_(memoryBound / sizeof(Op))
    {
    }

    std::variant<Program, ProgramError> build()
    {
        collectNames();
        if (!parseLines() || !checkCalls())
            return std::move(*error_);
        countSteps();
        return std::move(program_);
    }

private:
    bool fail(std::uint32_t line, ProgramErrorKind kind, std::string message)
    {
        error_ = ProgramError{line, kind, std::move(message)};
        return false;
    }

    // First pass: the unit names, so that a unit may call one defined later.
    void collectNames()
    {
        LineWalker lines(text_);
        std::string_view line;
        std::uint32_t index = 0;
        while (lines.next(line)) {
            splitTokens(line, tokens_);
            if (tokens_.empty() || tokens_[0].starts_with(CommentMark))
                continue;
            if (commandWordOf(tokens_[0]) == CommandWord::PN) {
                names_.try_emplace(unitNameOf(line), index++);
                unitLines_.push_back(0);
            } else if (!unitLines_.empty()) {
                ++unitLines_.back();
            }
        }
    }

    bool parseLines()
    {
        LineWalker lines(text_);
        std::string_view line;
        while (lines.next(line)) {
            lineNo_ = lines.number();
            splitTokens(line, tokens_);
            if (tokens_.empty())
                continue;
            if (!parseLine(line))
                return false;
        }
        if (stage_ != Stage::Outside) {
            const auto& unit = program_.units_.back();
            return fail(unit.firstLine, ProgramErrorKind::UnitNotClosed,
                        "unit " + quoted(unit.name) + " has no EI");
        }
        if (program_.units_.empty())
            return fail(std::max<std::uint32_t>(lines.number(), 1), ProgramErrorKind::Empty,
                        "the text holds no program unit (PN ... EI)");
        return true;
    }

    bool parseLine(std::string_view line)
    {
        const std::string_view word = tokens_[0];
        const bool comment = word.starts_with(CommentMark);
        const std::optional<CommandWord> command = commandWordOf(word);
        switch (stage_) {
        case Stage::Outside:
            if (command == CommandWord::PN)
                return openUnit(line);
            if (command == CommandWord::EI)
                return fail(lineNo_, ProgramErrorKind::EIWithoutPN, "EI without a PN that opened a unit");
            return fail(lineNo_, ProgramErrorKind::OutsideUnit,
                        (comment ? std::string("a comment") : quoted(word)) +
                            " outside any program unit (PN ... EI)");
        case Stage::AfterPN:
            if (command == CommandWord::DI && tokens_.size() == 3 && readWhole(tokens_[1]) && readWhole(tokens_[2])) {
                stage_ = Stage::AfterDI;
                return true;
            }
            return fail(lineNo_, ProgramErrorKind::Preamble,
                        "expected 'DI 1 10000' after the PN of unit " + quoted(program_.units_.back().name));
        case Stage::AfterDI:
            if (command == CommandWord::II && tokens_.size() == 1) {
                stage_ = Stage::Body;
                return true;
            }
            return fail(lineNo_, ProgramErrorKind::Preamble,
                        "expected 'II' after the DI of unit " + quoted(program_.units_.back().name));
        case Stage::Body:
            if (comment)
                return true;
            return command ? parseCommand(*command) : callOrRefuse(line);
        }
        return true;
    }

    bool openUnit(std::string_view line)
    {
        const std::string_view name = unitNameOf(line);
        if (name.empty())
            return fail(lineNo_, ProgramErrorKind::BadOperands, "PN needs the name of the unit");
        const auto index = static_cast<std::uint32_t>(program_.units_.size());
        if (names_.at(name) != index) {
            const auto& first = program_.units_[names_.at(name)];
            return fail(lineNo_, ProgramErrorKind::DuplicateUnit,
                        "a second unit named " + quoted(name) + " (the first is at line " +
                            std::to_string(first.firstLine) + ")");
        }
        program_.units_.push_back(Program::Unit{std::string(name), lineNo_, 0});
        // A unit compiles to at most an op per line: its room is taken once,
        // within what the bound leaves.
        program_.code_.emplace_back().reserve(std::min(unitLines_[index], mostOps_ - ops_));
        stage_ = Stage::AfterPN;
        return true;
    }

    bool noOperands()
    {
        if (tokens_.size() == 1)
            return true;
        return fail(lineNo_, ProgramErrorKind::BadOperands,
                    std::string(tokens_[0]) + " takes no operands, found " + quoted(tokens_[1]));
    }

    Op op(OpCode code)
    {
        Op o;
        o.code = code;
        o.line = lineNo_;
        return o;
    }

    void emit(const Op& o)
    {
        auto& code = program_.code_.back();
        // A word that only sets the laser's or the cut's state again as the
        // one before it did changes nothing: one op stands for both.
        const bool stateWord = o.code == OpCode::Open || o.code == OpCode::Close || o.code == OpCode::LaserOn ||
                               o.code == OpCode::LaserOff;
        if (stateWord && !code.empty() && code.back().code == o.code)
            return;
        if (ops_ == mostOps_)
            throw std::bad_alloc();
        ++ops_;
        code.push_back(o);
    }

    template <OpCode Code>
    bool emitSimple()
    {
        if (!noOperands())
            return false;
        emit(op(Code));
        return true;
    }

    /// Reads the number at tokens_[i], the operand of `what`.
    bool number(std::size_t i, std::string_view what, double& value)
    {
        if (i >= tokens_.size())
            return fail(lineNo_, ProgramErrorKind::BadOperands,
                        "a number must follow " + std::string(what) + " at the end of the line");
        switch (readNumber(tokens_[i], value)) {
        case NumberRead::Ok:
            return true;
        case NumberRead::OutOfRange:
            return fail(lineNo_, ProgramErrorKind::BadNumber, quoted(tokens_[i]) + " is out of range");
        case NumberRead::NotNumber:
            break;
        }
        if (looksNumeric(tokens_[i]))
            return fail(lineNo_, ProgramErrorKind::BadNumber, quoted(tokens_[i]) + " is not a number");
        return fail(lineNo_, ProgramErrorKind::BadOperands,
                    "a number must follow " + std::string(what) + ", found " + quoted(tokens_[i]));
    }

    /// Reads a line of a unit's body that begins with a command word.
    bool parseCommand(CommandWord word)
    {
        switch (word) {
        case CommandWord::PN:
            return refuseUnitNotClosed();
        case CommandWord::EI:
            return closeUnit();
        case CommandWord::DI:
        case CommandWord::II:
            return refusePreambleWord();
        case CommandWord::MA:
        case CommandWord::MI:
            return parseMoves();
        case CommandWord::OS:
            return emitSimple<OpCode::Open>();
        case CommandWord::CS:
            return emitSimple<OpCode::Close>();
        case CommandWord::LASON:
            return emitSimple<OpCode::LaserOn>();
        case CommandWord::OFF:
            return emitSimple<OpCode::LaserOff>();
        case CommandWord::SL:
            return openLoop();
        case CommandWord::EL:
            return closeLoop();
        case CommandWord::WT:
            return parseWait();
        case CommandWord::SP:
            return parseSpeed();
        case CommandWord::DP:
            return parseDisplay();
        case CommandWord::VACON:
        case CommandWord::VENTON:
        case CommandWord::O1ON:
        case CommandWord::LSO:
            return noOperands();
        case CommandWord::ZERO:
            return emitSimple<OpCode::Zero>();
        }
        return true;
    }

    bool refuseUnitNotClosed()
    {
        const auto& open = program_.units_.back();
        return fail(lineNo_, ProgramErrorKind::UnitNotClosed,
                    "PN before the EI of unit " + quoted(open.name) + " (opened at line " +
                        std::to_string(open.firstLine) + ")");
    }

    bool refusePreambleWord()
    {
        return fail(lineNo_, ProgramErrorKind::Preamble,
                    std::string(tokens_[0]) + " belongs to the unit's opening lines, right after PN");
    }

    bool parseWait()
    {
        Op o = op(OpCode::Wait);
        if (!number(1, wordText(CommandWord::WT), o.x))
            return false;
        if (tokens_.size() > 2)
            return fail(lineNo_, ProgramErrorKind::BadOperands, "WT takes one number, found " + quoted(tokens_[2]));
        if (o.x < 0)
            return fail(lineNo_, ProgramErrorKind::BadNumber, "a wait cannot be negative: " + quoted(tokens_[1]));
        emit(o);
        return true;
    }

    // "SP NAME = value"; only DVL and DAC change what the runner follows.
    bool parseSpeed()
    {
        if (tokens_.size() < 3 || tokens_[2] != SettingMark || looksNumeric(tokens_[1]))
            return fail(lineNo_, ProgramErrorKind::BadOperands, "expected 'SP NAME = value'");
        Op o = op(OpCode::Speed);
        if (!number(3, "SP " + std::string(tokens_[1]) + " =", o.x))
            return false;
        if (tokens_.size() > 4)
            return fail(lineNo_, ProgramErrorKind::BadOperands, "SP sets one value, found " + quoted(tokens_[4]));
        const std::optional<OperandWord> name = operandWordOf(tokens_[1]);
        if (name == OperandWord::DVL || name == OperandWord::DAC) {
            o.word = name == OperandWord::DVL ? detail::SpeedDVL : detail::SpeedDAC;
            emit(o);
        }
        return true;
    }

    bool parseDisplay()
    {
        if (tokens_.size() != 2)
            return fail(lineNo_, ProgramErrorKind::BadOperands, "expected 'DP' and one name, as 'DP TIM'");
        return true;
    }

    // A line that names a unit calls it.
    bool callOrRefuse(std::string_view line)
    {
        const std::string_view whole = trimmed(line);
        if (const auto it = names_.find(whole); it != names_.end()) {
            Op o = op(OpCode::Call);
            o.target = it->second;
            emit(o);
            return true;
        }
        if (tokens_.size() == 1)
            return fail(lineNo_, ProgramErrorKind::UnknownUnit,
                        quoted(tokens_[0]) + " is no command and no unit of this program to call");
        return fail(lineNo_, ProgramErrorKind::UnknownWord, "unknown word " + quoted(tokens_[0]));
    }

    // One or more move clauses: ("MA" | "MI") [X x] [Y y], at least one axis;
    // an MI clause may end in "ARC a [VEL v] [ACC v]", the last of its line.
    bool parseMoves()
    {
        std::size_t i = 0;
        const std::size_t n = tokens_.size();
        while (i < n) {
            const std::string_view word = tokens_[i];
            const std::optional<CommandWord> move = commandWordOf(word);
            if (move != CommandWord::MA && move != CommandWord::MI)
                return fail(lineNo_, ProgramErrorKind::BadOperands,
                            "expected X, Y, ARC or another MA or MI, found " + quoted(word));
            Op o = op(OpCode::Move);
            o.relative = move == CommandWord::MI;
            bool hasX = false;
            bool hasY = false;
            ++i;
            std::optional<OperandWord> operand;
            while (i < n && ((operand = operandWordOf(tokens_[i])) == OperandWord::X || operand == OperandWord::Y)) {
                const bool isX = operand == OperandWord::X;
                bool& has = isX ? hasX : hasY;
                if (has)
                    return fail(lineNo_, ProgramErrorKind::BadOperands,
                                std::string(tokens_[i]) + " given twice in one " + std::string(word));
                has = true;
                if (!number(i + 1, tokens_[i], isX ? o.x : o.y))
                    return false;
                i += 2;
            }
            o.hasX = hasX;
            o.hasY = hasY;
            if (!hasX && !hasY)
                return fail(lineNo_, ProgramErrorKind::BadOperands,
                            std::string(word) + " needs X or Y" +
                                (i < n ? ", found " + quoted(tokens_[i]) : std::string()));
            if (i < n && operand == OperandWord::ARC) {
                if (!o.relative)
                    return fail(lineNo_, ProgramErrorKind::BadOperands,
                                "ARC follows MI, whose offset is the arc's centre");
                o.code = OpCode::Arc;
                detail::ArcOperands arc{o.x, o.y};
                if (!number(i + 1, wordText(OperandWord::ARC), arc.sweep))
                    return false;
                arc.wholeTurns = std::fmod(arc.sweep, 360.0) == 0.0;
                i += 2;
                bool vel = false;
                bool acc = false;
                detail::ArcSpeed speed{std::numeric_limits<double>::quiet_NaN(),
                                       std::numeric_limits<double>::quiet_NaN()};
                while (i < n && (((operand = operandWordOf(tokens_[i])) == OperandWord::VEL && !vel) ||
                                 (operand == OperandWord::ACC && !acc))) {
                    const bool isVel = operand == OperandWord::VEL;
                    (isVel ? vel : acc) = true;
                    if (!number(i + 1, tokens_[i], isVel ? speed.velocity : speed.acceleration))
                        return false;
                    i += 2;
                }
                if (vel || acc) {
                    auto& speeds = program_.arcSpeeds_;
                    // The arcs of a program share a few speeds: the last one is kept once.
                    if (speeds.empty() || !(detail::Speeds{speeds.back().velocity, speeds.back().acceleration} ==
                                            detail::Speeds{speed.velocity, speed.acceleration}))
                        speeds.push_back(speed);
                    arc.speed = static_cast<std::uint32_t>(speeds.size() - 1);
                }
                // An arc's operands take about the room of two more ops.
                if (mostOps_ - ops_ < 2 || program_.arcs_.size() == std::numeric_limits<std::uint32_t>::max())
                    throw std::bad_alloc();
                ops_ += 2;
                o.target = static_cast<std::uint32_t>(program_.arcs_.size());
                program_.arcs_.push_back(arc);
                if (i < n)
                    return fail(lineNo_, ProgramErrorKind::BadOperands,
                                "unexpected " + quoted(tokens_[i]) + " after the arc");
            }
            emit(o);
        }
        return true;
    }

    bool openLoop()
    {
        if (tokens_.size() != 2)
            return fail(lineNo_, ProgramErrorKind::BadOperands, "SL takes one repeat count");
        const auto count = readWhole(tokens_[1]);
        if (!count)
            return fail(lineNo_, ProgramErrorKind::BadNumber,
                        quoted(tokens_[1]) + " is not a whole number of repeats");
        if (*count == 0 || *count > std::numeric_limits<std::uint32_t>::max())
            return fail(lineNo_, ProgramErrorKind::BadNumber,
                        "a repeat count must lie between 1 and 4294967295, found " + quoted(tokens_[1]));
        Op o = op(OpCode::Loop);
        o.count = static_cast<std::uint32_t>(*count);
        openLoops_.push_back(static_cast<std::uint32_t>(program_.code_.back().size()));
        emit(o);
        return true;
    }

    bool closeLoop()
    {
        if (!noOperands())
            return false;
        if (openLoops_.empty())
            return fail(lineNo_, ProgramErrorKind::ELWithoutSL, "EL without an open SL in unit " +
                                                                   quoted(program_.units_.back().name));
        auto& code = program_.code_.back();
        const std::uint32_t begin = openLoops_.back();
        openLoops_.pop_back();
        Op o = op(OpCode::EndLoop);
        o.target = begin;
        code[begin].target = static_cast<std::uint32_t>(code.size());
        emit(o);
        return true;
    }

    bool closeUnit()
    {
        if (!noOperands())
            return false;
        auto& unit = program_.units_.back();
        if (!openLoops_.empty()) {
            // The earliest SL still open is the one whose EL is missing: every
            // later EL closed the nearest SL before it.
            const Op& loop = program_.code_.back()[openLoops_.front()];
            return fail(loop.line, ProgramErrorKind::SLWithoutEL,
                        "SL " + std::to_string(loop.count) + " has no EL before the EI of unit " +
                            quoted(unit.name) + " (line " + std::to_string(lineNo_) + ")");
        }
        unit.lastLine = lineNo_;
        stage_ = Stage::Outside;
        return true;
    }

    // Depth-first over the calls, without recursion of our own: a call back
    // into a unit still being walked is a recursion. Leaves the units in an
    // order where every unit follows those it calls.
    bool checkCalls()
    {
        const std::size_t count = program_.units_.size();
        enum class Mark : std::uint8_t { New, Open, Done };
        std::vector<Mark> mark(count, Mark::New);
        struct Frame {
            std::uint32_t unit;
            std::size_t pc;
        };
        std::vector<Frame> stack;
        for (std::uint32_t root = 0; root < count; ++root) {
            if (mark[root] != Mark::New)
                continue;
            stack.push_back({root, 0});
            mark[root] = Mark::Open;
            while (!stack.empty()) {
                Frame& f = stack.back();
                const auto& code = program_.code_[f.unit];
                while (f.pc < code.size() && code[f.pc].code != OpCode::Call)
                    ++f.pc;
                if (f.pc == code.size()) {
                    mark[f.unit] = Mark::Done;
                    order_.push_back(f.unit);
                    stack.pop_back();
                    continue;
                }
                const Op& call = code[f.pc++];
                if (mark[call.target] == Mark::Open) {
                    const auto& callee = program_.units_[call.target];
                    return fail(call.line, ProgramErrorKind::Recursion,
                                call.target == f.unit
                                    ? "unit " + quoted(callee.name) + " calls itself"
                                    : "the call of " + quoted(callee.name) + " recurses: " + quoted(callee.name) +
                                          " is still running when it is called");
                }
                if (mark[call.target] == Mark::New) {
                    mark[call.target] = Mark::Open;
                    stack.push_back({call.target, 0});
                }
            }
        }
        return true;
    }

    // The steps and motions of a full run of each unit, callees first.
    void countSteps()
    {
        const std::size_t count = program_.units_.size();
        std::vector<std::uint64_t> steps(count, 0);
        std::vector<std::uint64_t> motions(count, 0);
        struct Sum {
            std::uint64_t steps = 0;
            std::uint64_t motions = 0;
        };
        std::vector<Sum> open;
        for (const std::uint32_t u : order_) {
            open.assign(1, Sum{1, 0}); // the return at EI
            for (const Op& o : program_.code_[u]) {
                Sum& s = open.back();
                switch (o.code) {
                case OpCode::Move:
                case OpCode::Arc:
                    s.steps = addSat(s.steps, 1);
                    s.motions = addSat(s.motions, 1);
                    break;
                case OpCode::Call:
                    s.steps = addSat(s.steps, addSat(1, steps[o.target]));
                    s.motions = addSat(s.motions, motions[o.target]);
                    break;
                case OpCode::Loop:
                    open.push_back(Sum{});
                    break;
                case OpCode::EndLoop: {
                    const Sum body = open.back();
                    open.pop_back();
                    const std::uint32_t passes = program_.code_[u][o.target].count;
                    Sum& parent = open.back();
                    // SL once, the body and its EL per pass.
                    parent.steps = addSat(parent.steps, addSat(1, mulSat(addSat(body.steps, 1), passes)));
                    parent.motions = addSat(parent.motions, mulSat(body.motions, passes));
                    break;
                }
                default:
                    s.steps = addSat(s.steps, 1);
                    break;
                }
            }
            steps[u] = open.back().steps;
            motions[u] = open.back().motions;
        }
        const std::size_t entry = program_.entryUnit();
        program_.expandedSteps_ = steps[entry];
        program_.expandedMotions_ = motions[entry];
    }

    std::string_view text_;
    Program program_;
    std::optional<ProgramError> error_;
    std::unordered_map<std::string_view, std::uint32_t> names_;
    std::vector<std::string_view> tokens_;
    std::vector<std::uint32_t> openLoops_; // op indices of the open SLs of the unit
    std::vector<std::uint32_t> order_;     // units, callees before callers
    std::vector<std::size_t> unitLines_;   // per unit, its lines after PN that are no comment
    std::size_t mostOps_;                  // the ops that the memory bound leaves room for
    std::size_t ops_ = 0;
    Stage stage_ = Stage::Outside;
    std::uint32_t lineNo_ = 0;
};

std::variant<Program, ProgramError> parseProgram(std::string_view text, std::size_t memoryBound)
{
    return ProgramBuilder(text, memoryBound).build();
}

namespace {

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
struct ProgramRunner {
    ProgramRunner(const Program& program, MotionVisitor& visitor) : program_(program), visitor_(visitor) {}

    RunSummary run(const ReadLimits& limits)
    {
        if (program_.units_.empty())
            return summary_;
        if (program_.expandedSteps() > limits.maxSteps) {
            summary_.beyondBounds = true;
            return summary_;
        }
        // The place in the unit being run stays in a local; the stack holds its callers'.
        Place at = startOf(program_.entryUnit());
        for (;;) {
            if (at.pc == at.end) {
                if (calls_.empty())
                    return summary_;
                at = calls_.back();
                calls_.pop_back();
                continue;
            }
            const Op& o = *at.pc++;
            switch (o.code) {
            case OpCode::Move:
            case OpCode::Arc:
                if (!move(o))
                    return summary_;
                break;
            case OpCode::Open:
            case OpCode::Close:
            case OpCode::LaserOn:
            case OpCode::LaserOff:
            case OpCode::Wait:
            case OpCode::Speed:
            case OpCode::Zero:
                detail::applyStateWord(o, summary_.final, summary_, speeds_);
                break;
            case OpCode::Call:
                calls_.push_back(at);
                at = startOf(o.target);
                break;
            case OpCode::Loop:
                openLoop(o, at);
                break;
            case OpCode::EndLoop:
                endPass(at);
                break;
            }
        }
    }

private:
    /// Where a unit's run stands: its next op and the end of its ops.
    struct Place {
        const Op* pc;
        const Op* end;
    };
    /// A repeat block being run.
    struct Loop {
        const Op* bodyStart;
        std::uint32_t remaining;
        bool startCutting;
        bool retracing;
        ProgramPoint start;
        ProgramPoint startZero;
    };

    Place startOf(std::size_t unit) const
    {
        const auto& code = program_.code_[unit];
        return {code.data(), code.data() + code.size()};
    }

    /// Runs a motion and hands it to the visitor; false when the visitor stops the run.
    bool move(const Op& o)
    {
        detail::runMotion(o, program_.arcs_.data(), program_.arcSpeeds_.data(), speeds_, retracingLoops_ > 0, summary_, motion_);
        if (visitor_.onMotion(motion_))
            return true;
        summary_.stopped = true;
        return false;
    }

    void openLoop(const Op& o, const Place& at)
    {
        const MachineState& state = summary_.final;
        loops_.push_back({at.pc, o.count, state.cutting, false, state.head, state.zero});
    }

    /// The end of a pass: the next pass begins, or the block is done.
    void endPass(Place& at)
    {
        Loop& loop = loops_.back();
        if (loop.retracing) {
            loop.retracing = false;
            --retracingLoops_;
        }
        if (--loop.remaining == 0) {
            loops_.pop_back();
            return;
        }
        // The run is deterministic: a pass that starts in the state of the
        // first pass repeats its path exactly.
        const MachineState& state = summary_.final;
        if (state.head == loop.start && state.zero == loop.startZero && state.cutting == loop.startCutting) {
            loop.retracing = true;
            ++retracingLoops_;
        }
        at.pc = loop.bodyStart;
    }

    const Program& program_;
    MotionVisitor& visitor_;
    RunSummary summary_;
    detail::Speeds speeds_{std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::quiet_NaN()};
    std::vector<Place> calls_; // the callers of the unit being run
    std::vector<Loop> loops_;  // the repeat blocks being run, innermost last
    std::uint32_t retracingLoops_ = 0;
    Motion motion_;
};

RunSummary runProgram(const Program& program, MotionVisitor& visitor, const ReadLimits& limits)
{
    return ProgramRunner(program, visitor).run(limits);
}

std::variant<ProgramTrace, ProgramError> readProgram(std::string_view text, const ReadLimits& limits)
{
    auto parsed = parseProgram(text);
    if (auto* error = std::get_if<ProgramError>(&parsed))
        return std::move(*error);
    const Program& program = std::get<Program>(parsed);
    ProgramTrace trace;
    if (program.expandedSteps() <= limits.maxSteps)
        trace.motions.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(program.expandedMotions(), 1u << 20)));
    trace.summary = runProgram(program, [&trace](const Motion& m) { trace.motions.push_back(m); }, limits);
    return trace;
}

} // namespace kerf
