// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "program/reader/program_reader.h"

namespace kerf {

/// A program text that is no program, in Traditional Chinese for the windows
/// and the command line alike, the one place the reader's refusals are worded:
/// the line, what is wrong with it (with the words, names and lines it
/// concerns), and the line as `programText` has it (when given). Program text
/// is shown cut short, UTF-8, else decoded as CP950, else bytes that are no
/// ASCII as «?»: «程式第 4 行無法讀取：無法辨識的指令「FOO」（「FOO X 1」）。».
std::string readingErrorText(const ProgramError& error, std::string_view programText = {});

} // namespace kerf
