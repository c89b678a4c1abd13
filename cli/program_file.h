#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <variant>

#include "program/reader/program_reader.h"

namespace kerf::cli {

/// Why a program file gave no program.
enum class ProgramFileFault {
    Unreadable, ///< missing, a folder, no permission...
    Malformed,  ///< read, but not a well-formed program
};

/// The program file at `path` ("-": standard input), read and parsed; on
/// failure the message has been printed to `err` (why the file cannot be
/// read, or the line where it stops being a well-formed program).
std::variant<Program, ProgramFileFault> readProgramFile(const std::string& path, std::ostream& err);

} // namespace kerf::cli
