// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace kerf {

/// The words that begin a line of a cutting program. A line whose first word
/// is none of them is a comment (its first word starts with CommentMark) or
/// calls the unit it names.
enum class CommandWord : std::uint8_t {
    PN,     // opens and names a program unit
    DI,     // the unit's first preamble line
    II,     // the unit's second preamble line
    EI,     // closes the unit
    SP,     // sets a machine parameter: "SP DVL = 0.6"
    DP,     // the closing block's last word before EI: "DP TIM"
    LASON,  // switches the laser on
    VACON,  // switch-on and zeroing words of the opening block
    VENTON,
    O1ON,
    LSO,
    ZERO,
    OFF,    // switches the laser off
    WT,     // waits the seconds given
    OS,     // starts a cut
    CS,     // ends a cut
    MA,     // moves to an absolute position
    MI,     // moves by a relative offset
    SL,     // opens a block of lines repeated n times
    EL,     // closes the nearest open SL block
};

/// The words that stand among a line's operands.
enum class OperandWord : std::uint8_t {
    X,    // the axes of a move clause
    Y,
    ARC,  // ends an MI clause: the angle swept about the offset point
    VEL,  // the arc's speed
    ACC,  // the arc's acceleration
    DVL,  // the machine parameters that SP sets and DP shows
    DAC,
    TIM,
};

/// The texts of the words, in the order of their enumerations: the one place
/// a dialect spells them.
inline constexpr std::array<std::string_view, 20> CommandWordTexts = {
    "PN", "DI", "II", "EI", "SP", "DP", "LASON", "VACON", "VENTON", "O1ON",
    "LSO", "ZERO", "OFF", "WT", "OS", "CS", "MA", "MI", "SL", "EL"};
inline constexpr std::array<std::string_view, 8> OperandWordTexts = {"X",   "Y",   "ARC", "VEL",
                                                                     "ACC", "DVL", "DAC", "TIM"};
static_assert(CommandWordTexts.size() == static_cast<std::size_t>(CommandWord::EL) + 1);
static_assert(OperandWordTexts.size() == static_cast<std::size_t>(OperandWord::TIM) + 1);

/// The subroutine units a written program defines and calls: CIR1 and CIR2
/// cut a round die, HEX1 to HEX4 a hexagon's edges.
enum class SubroutineUnit : std::uint8_t { CIR1, CIR2, HEX1, HEX2, HEX3, HEX4 };
/// Their names, in the order of the enumeration: the circle's two, then the hexagon's four.
inline constexpr std::array<std::string_view, 6> SubroutineUnitTexts = {"CIR1", "CIR2", "HEX1",
                                                                        "HEX2", "HEX3", "HEX4"};
static_assert(SubroutineUnitTexts.size() == static_cast<std::size_t>(SubroutineUnit::HEX4) + 1);

/// A comment's first word starts with this mark; "# " opens the comments written.
inline constexpr char CommentMark = '#';
/// What "SP NAME = value" puts between the parameter's name and its value.
inline constexpr std::string_view SettingMark = "=";

constexpr std::string_view wordText(CommandWord word)
{
    return CommandWordTexts[static_cast<std::size_t>(word)];
}

constexpr std::string_view wordText(OperandWord word)
{
    return OperandWordTexts[static_cast<std::size_t>(word)];
}

constexpr std::string_view wordText(SubroutineUnit unit)
{
    return SubroutineUnitTexts[static_cast<std::size_t>(unit)];
}

/// The command word spelt by `token` (the whole token, letter case as
/// written), or none.
std::optional<CommandWord> commandWordOf(std::string_view token);

/// The operand word spelt by `token`, or none.
std::optional<OperandWord> operandWordOf(std::string_view token);

} // namespace kerf
