// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "program/words/command_words.h"

namespace kerf {

// The lines of a cutting program built from its words. Operands are number
// or user texts, written as given; words and operands are joined by one blank.

/// "PN " name, "DI 1 10000", "II": the three lines that open every unit.
std::array<std::string, 3> unitOpeningLines(std::string_view name);

/// A line that calls a unit: its name alone.
std::string_view unitCallLine(std::string_view name);

/// "# " text.
std::string commentLine(std::string_view text);

/// "SP " name " = " value.
std::string settingLine(OperandWord name, std::string_view value);

/// "DP " name.
std::string displayLine(OperandWord name);

/// "WT " seconds.
std::string waitLine(std::string_view seconds);

/// "SL " count: opens a block repeated `count` times.
std::string repeatLine(long long count);

/// "MA X " x " Y " y.
std::string absoluteMove(std::string_view x, std::string_view y);

/// "MA X " x " MA Y " y: an absolute move written as one clause per axis.
std::string absoluteMoveByAxes(std::string_view x, std::string_view y);

/// "MI X " x " Y " y.
std::string relativeMove(std::string_view x, std::string_view y);

/// "MI X " x.
std::string relativeMoveX(std::string_view x);

/// "MI Y " y.
std::string relativeMoveY(std::string_view y);

/// "MI X " x " Y " y " ARC " angle " VEL " speed " ACC " acceleration: an arc
/// about the point (x, y) from the head.
std::string arcMove(std::string_view x, std::string_view y, std::string_view angle, std::string_view speed,
                    std::string_view acceleration);

} // namespace kerf
