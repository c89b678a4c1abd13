// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <new>
#include <optional>
#include <span>
#include <unordered_map>
#include <unordered_set>

#include "program/reader/internal/program_code.h"
#include "program/reader/internal/program_lexer.h"
#include "program/reader/internal/unit_calls.h"
#include "program/words/command_words.h"

namespace kerf {

using detail::Op;
using detail::OpCode;
using detail::LineWalker;
using detail::NumberRead;
using detail::looksNumeric;
using detail::kept;
using detail::readNumber;
using detail::readWhole;
using detail::splitTokens;
using detail::trimmed;
using detail::unitNameOf;

struct ProgramBuilder {
    enum class Stage { Outside, AfterPN, AfterDI, Body };

    ProgramBuilder(std::string_view text, std::size_t memoryBound)
        : text_(text), mostOps_(memoryBound / sizeof(Op))
    {
        // A line compiles to at most one op: the room is taken once, within
        // what the bound leaves.
        const auto lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
        code_.ops.reserve(std::min(lines, mostOps_));
    }

    std::variant<Program, ProgramError> build()
    {
        if (!parseLines() || !checkCalls())
            return std::move(*error_);
        countSteps();
        program_.code_ = std::make_shared<const ProgramCode>(std::move(code_));
        return std::move(program_);
    }

private:
    using K = ProgramErrorKind;
    using F = ProgramFault;

    /// A fault at `line` about the token `found`, or what follows `word`.
    bool fail(std::uint32_t line, K kind, F fault, std::string_view found = {}, std::string_view word = {})
    {
        error_.emplace();
        error_->line = line;
        error_->kind = kind;
        error_->fault = fault;
        error_->found = kept(found);
        error_->word = kept(word);
        return false;
    }

    /// A fault at `line` in the unit `unit`, that names `otherLine` too.
    bool failInUnit(std::uint32_t line, K kind, F fault, std::string_view unit, std::uint32_t otherLine = 0)
    {
        fail(line, kind, fault);
        error_->unit = kept(unit);
        error_->otherLine = otherLine;
        return false;
    }

    std::string_view openUnitName() const { return program_.units_.back().name; }

    // One pass over the lines. A unit may call one defined later: such calls
    // wait until the names of the whole text are known.
    bool parseLines()
    {
        LineWalker lines(text_);
        std::string_view line;
        while (lines.next(line)) {
            lineNo_ = lines.number();
            splitTokens(line, tokens_);
            if (tokens_.empty())
                continue;
            if (!parseLine(line)) {
                // A waiting call before this line that names no unit of the
                // whole text is the first fault.
                namesAfter(lines);
                resolveCalls();
                return false;
            }
        }
        if (!resolveCalls())
            return false;
        if (stage_ != Stage::Outside) {
            const auto& unit = program_.units_.back();
            return failInUnit(unit.firstLine, K::UnitNotClosed, F::NoEI, unit.name);
        }
        if (program_.units_.empty())
            return fail(std::max<std::uint32_t>(lines.number(), 1), K::Empty, F::NoUnit);
        code_.unitStarts.push_back(static_cast<std::uint32_t>(code_.ops.size()));
        return true;
    }

    // The names of the units opened in the rest of the text, for the calls
    // that wait (a refused line stopped the reading there).
    void namesAfter(LineWalker& lines)
    {
        if (waiting_.empty())
            return;
        std::string_view line;
        while (lines.next(line)) {
            splitTokens(line, tokens_);
            if (!tokens_.empty() && commandWordOf(tokens_[0]) == CommandWord::PN)
                laterNames_.insert(unitNameOf(line));
        }
    }

    // Gives the waiting calls their units; the first that names none is
    // refused, at its line: it was read before any fault that stopped the
    // reading.
    bool resolveCalls()
    {
        for (const WaitingCall& call : waiting_) {
            if (const auto it = names_.find(call.name); it != names_.end()) {
                code_.ops[call.op].target = it->second;
                continue;
            }
            if (laterNames_.contains(call.name))
                continue;
            if (call.single)
                return fail(call.line, K::UnknownUnit, F::UnknownUnit, call.word);
            return fail(call.line, K::UnknownWord, F::UnknownWord, call.word);
        }
        return !error_;
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
                return fail(lineNo_, K::EIWithoutPN, F::EIWithoutPN);
            return comment ? fail(lineNo_, K::OutsideUnit, F::CommentOutsideUnit)
                           : fail(lineNo_, K::OutsideUnit, F::WordOutsideUnit, word);
        case Stage::AfterPN:
            if (command == CommandWord::DI && tokens_.size() == 3 && readWhole(tokens_[1]) && readWhole(tokens_[2])) {
                stage_ = Stage::AfterDI;
                return true;
            }
            return failInUnit(lineNo_, K::Preamble, F::NoDI, openUnitName());
        case Stage::AfterDI:
            if (command == CommandWord::II && tokens_.size() == 1) {
                stage_ = Stage::Body;
                return true;
            }
            return failInUnit(lineNo_, K::Preamble, F::NoII, openUnitName());
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
            return fail(lineNo_, K::BadOperands, F::NoUnitName);
        const auto index = static_cast<std::uint32_t>(program_.units_.size());
        if (const auto [it, added] = names_.try_emplace(name, index); !added) {
            const auto& first = program_.units_[it->second];
            return failInUnit(lineNo_, K::DuplicateUnit, F::SecondUnit, name, first.firstLine);
        }
        program_.units_.push_back(Program::Unit{std::string(name), lineNo_, 0});
        unitStart_ = static_cast<std::uint32_t>(code_.ops.size());
        code_.unitStarts.push_back(unitStart_);
        stage_ = Stage::AfterPN;
        return true;
    }

    bool noOperands()
    {
        if (tokens_.size() == 1)
            return true;
        return fail(lineNo_, K::BadOperands, F::NoOperands, tokens_[1], tokens_[0]);
    }

    Op op(OpCode code)
    {
        Op o;
        o.code = code;
        o.line = lineNo_;
        return o;
    }

    /// The ops of the open unit so far.
    std::uint32_t unitOps() const { return static_cast<std::uint32_t>(code_.ops.size()) - unitStart_; }

    void emit(const Op& o)
    {
        auto& code = code_.ops;
        // A word that only sets the laser's or the cut's state again as the
        // one before it did changes nothing: one op stands for both.
        const bool stateWord = o.code == OpCode::Open || o.code == OpCode::Close || o.code == OpCode::LaserOn ||
                               o.code == OpCode::LaserOff;
        if (stateWord && unitOps() > 0 && code.back().code == o.code)
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
            return fail(lineNo_, K::BadOperands, F::NumberMissing, {}, what);
        switch (readNumber(tokens_[i], value)) {
        case NumberRead::Ok:
            return true;
        case NumberRead::OutOfRange:
            return fail(lineNo_, K::BadNumber, F::OutOfRange, tokens_[i]);
        case NumberRead::NotNumber:
            break;
        }
        if (looksNumeric(tokens_[i]))
            return fail(lineNo_, K::BadNumber, F::NotNumber, tokens_[i]);
        return fail(lineNo_, K::BadOperands, F::NumberExpected, tokens_[i], what);
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
        return failInUnit(lineNo_, K::UnitNotClosed, F::PNInsideUnit, open.name, open.firstLine);
    }

    bool refusePreambleWord()
    {
        return fail(lineNo_, K::Preamble, F::PreambleInBody, {}, tokens_[0]);
    }

    bool parseWait()
    {
        Op o = op(OpCode::Wait);
        if (!number(1, wordText(CommandWord::WT), o.x))
            return false;
        if (tokens_.size() > 2)
            return fail(lineNo_, K::BadOperands, F::ExtraNumber, tokens_[2], tokens_[0]);
        if (o.x < 0)
            return fail(lineNo_, K::BadNumber, F::NegativeWait, tokens_[1]);
        emit(o);
        return true;
    }

    // "SP NAME = value"; only DVL and DAC change what the runner follows.
    bool parseSpeed()
    {
        if (tokens_.size() < 3 || tokens_[2] != SettingMark || looksNumeric(tokens_[1]))
            return fail(lineNo_, K::BadOperands, F::SettingForm);
        Op o = op(OpCode::Speed);
        if (!number(3, "SP " + std::string(tokens_[1]) + " =", o.x))
            return false;
        if (tokens_.size() > 4)
            return fail(lineNo_, K::BadOperands, F::ExtraNumber, tokens_[4], tokens_[0]);
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
            return fail(lineNo_, K::BadOperands, F::DisplayForm);
        return true;
    }

    // A line that names a unit calls it.
    bool callOrRefuse(std::string_view line)
    {
        const std::string_view whole = trimmed(line);
        Op o = op(OpCode::Call);
        if (const auto it = names_.find(whole); it != names_.end()) {
            o.target = it->second;
        } else {
            // A unit further on, or a fault once the whole text is read.
            waiting_.push_back({static_cast<std::uint32_t>(code_.ops.size()), lineNo_, whole, tokens_[0],
                                tokens_.size() == 1});
        }
        emit(o);
        return true;
    }

    // One or more move clauses: ("MA" | "MI") [X x] [Y y], at least one axis;
    // an MI clause may end in "ARC a [VEL v] [ACC v]", the last of its line.
    bool parseMoves()
    {
        std::size_t i = 0;
        const std::size_t n = tokens_.size();
        std::uint8_t clause = 0;
        while (i < n) {
            const std::string_view word = tokens_[i];
            const std::optional<CommandWord> move = commandWordOf(word);
            if (move != CommandWord::MA && move != CommandWord::MI)
                return fail(lineNo_, K::BadOperands, F::MoveExpected, word);
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
                    return fail(lineNo_, K::BadOperands, F::AxisTwice, tokens_[i], word);
                has = true;
                if (!number(i + 1, tokens_[i], isX ? o.x : o.y))
                    return false;
                i += 2;
            }
            o.hasX = hasX;
            o.hasY = hasY;
            if (!hasX && !hasY)
                return fail(lineNo_, K::BadOperands, F::NoAxis, i < n ? tokens_[i] : std::string_view(), word);
            if (i < n && operand == OperandWord::ARC) {
                if (!o.relative)
                    return fail(lineNo_, K::BadOperands, F::ArcAfterMA);
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
                    auto& speeds = code_.arcSpeeds;
                    // The arcs of a program share a few speeds: the last one is kept once.
                    if (speeds.empty() || !(detail::Speeds{speeds.back().velocity, speeds.back().acceleration} ==
                                            detail::Speeds{speed.velocity, speed.acceleration}))
                        speeds.push_back(speed);
                    arc.speed = static_cast<std::uint32_t>(speeds.size() - 1);
                }
                // An arc's operands take about the room of two more ops.
                if (mostOps_ - ops_ < 2 || code_.arcs.size() == std::numeric_limits<std::uint32_t>::max())
                    throw std::bad_alloc();
                ops_ += 2;
                o.target = static_cast<std::uint32_t>(code_.arcs.size());
                code_.arcs.push_back(arc);
                if (i < n)
                    return fail(lineNo_, K::BadOperands, F::AfterArc, tokens_[i]);
            }
            // A move followed or preceded by another on its line is numbered.
            if (clause > 0 || i < n)
                clause = static_cast<std::uint8_t>(std::min(clause + 1, 15));
            o.clause = clause;
            emit(o);
        }
        return true;
    }

    bool openLoop()
    {
        if (tokens_.size() != 2)
            return fail(lineNo_, K::BadOperands, F::RepeatCountForm);
        const auto count = readWhole(tokens_[1]);
        if (!count)
            return fail(lineNo_, K::BadNumber, F::RepeatNotWhole, tokens_[1]);
        if (*count == 0 || *count > std::numeric_limits<std::uint32_t>::max())
            return fail(lineNo_, K::BadNumber, F::RepeatOutOfRange, tokens_[1]);
        Op o = op(OpCode::Loop);
        o.count = static_cast<std::uint32_t>(*count);
        openLoops_.push_back(unitOps());
        emit(o);
        return true;
    }

    bool closeLoop()
    {
        if (!noOperands())
            return false;
        if (openLoops_.empty())
            return failInUnit(lineNo_, K::ELWithoutSL, F::ELWithoutSL, openUnitName());
        const std::uint32_t begin = openLoops_.back();
        openLoops_.pop_back();
        Op o = op(OpCode::EndLoop);
        o.target = begin;
        code_.ops[unitStart_ + begin].target = unitOps();
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
            const Op& loop = code_.ops[unitStart_ + openLoops_.front()];
            return failInUnit(loop.line, K::SLWithoutEL, F::SLWithoutEL, unit.name, lineNo_);
        }
        unit.lastLine = lineNo_;
        stage_ = Stage::Outside;
        return true;
    }

    // The units' calls: a call that recurses is refused at its line.
    bool checkCalls()
    {
        auto walked = detail::calleesFirst(code_, program_.units_.size());
        if (const auto* recursion = std::get_if<detail::Recursion>(&walked)) {
            const Op& call = *recursion->call;
            const std::string& callee = program_.units_[call.target].name;
            return failInUnit(call.line, K::Recursion,
                              call.target == recursion->caller ? F::CallsItself : F::CallRecurses, callee);
        }
        order_ = std::get<std::vector<std::uint32_t>>(std::move(walked));
        return true;
    }

    // The steps and motions of a full run of the entry unit.
    void countSteps()
    {
        const detail::Expansion expansion = detail::expansionOf(code_, order_, program_.entryUnit());
        program_.expandedSteps_ = expansion.steps;
        program_.expandedMotions_ = expansion.motions;
    }

    std::string_view text_;
    Program program_;
    ProgramCode code_;
    std::optional<ProgramError> error_;
    std::unordered_map<std::string_view, std::uint32_t> names_;
    std::vector<std::string_view> tokens_;
    std::vector<std::uint32_t> openLoops_; // op indices of the open SLs of the unit
    std::vector<std::uint32_t> order_;     // units, callees before callers
    /// A call of a name that no unit before it has: its op, and the words
    /// that refuse it should no unit of the text have the name.
    struct WaitingCall {
        std::uint32_t op;
        std::uint32_t line;
        std::string_view name; // the whole line
        std::string_view word; // its first word
        bool single;           // the line is one word
    };
    std::vector<WaitingCall> waiting_;
    std::unordered_set<std::string_view> laterNames_; // units after a refused line
    std::uint32_t unitStart_ = 0;                     // the first op of the open unit
    std::size_t mostOps_;                  // the ops that the memory bound leaves room for
    std::size_t ops_ = 0;
    Stage stage_ = Stage::Outside;
    std::uint32_t lineNo_ = 0;
};

std::variant<Program, ProgramError> parseProgram(std::string_view text, std::size_t memoryBound)
{
    return ProgramBuilder(text, memoryBound).build();
}


} // namespace kerf
