#pragma once

#include <optional>
#include <string_view>

#include "codegen/generation_refusal.h"

namespace kerf {

/// The most characters the program name box holds.
inline constexpr std::size_t ProgramNameMaxLength = 20;

/// Why `name` (UTF-8, as typed) cannot name the program file in the output
/// folder, or nothing when it can. Refused: the empty name; more than 20
/// characters; text that is not UTF-8; control characters; "/" and "\"
/// (the name would leave the folder); ".."; and < > : " | ? *, which the
/// file systems the programs are carried on cannot hold. Blanks pass.
std::optional<GenerationRefusal> checkProgramName(std::string_view name);

} // namespace kerf
