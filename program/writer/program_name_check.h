// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string_view>

#include "program/writer/generation_refusal.h"
#include "layout/wafer_layout.h"

namespace kerf {

/// The most characters the program name box holds.
inline constexpr std::size_t ProgramNameMaxLength = 20;

/// Why `name` (UTF-8, as typed) cannot name the program file in the output
/// folder, or nothing when it can. Refused: the empty name and one of blanks
/// only (both with the start button's «未輸入欲產生的檔名» message); more than 20
/// characters; text that is not UTF-8; control characters; "/" and "\"
/// (the name would leave the folder); ".."; and < > : " | ? *, which the
/// file systems the programs are carried on cannot hold. Blanks around a
/// name pass.
std::optional<GenerationRefusal> checkProgramName(std::string_view name);

/// Why `name` cannot name the main unit of the program for a layout of this
/// shape: it is one of the program's subroutine units (CIR1, CIR2 for circles,
/// HEX1 to HEX4 for hexagons), in any letter case and between blanks, which
/// would give the file two units of one name.
std::optional<GenerationRefusal> checkMainUnitName(std::string_view name, DieShape shape);

} // namespace kerf
