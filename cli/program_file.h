#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <variant>

#include "program/reader/program_reader.h"

namespace kerf::cli {

/// Why a program file was not read.
enum class ProgramFileFault {
    Unreadable,  // it cannot be opened or read
    NotAProgram, // not a well-formed program
    TooLarge,    // reading it would pass the memory bound (an endless device, say)
};

/// The memory a program file's reading may take: 1 GB, or what the process
/// may still take when its limits (RLIMIT_AS, RLIMIT_DATA) give it less.
std::size_t programMemoryBound();

/// The program file at `path`, read and parsed within programMemoryBound():
/// the text at most half of it, the text and the compiled program together
/// at most all of it. A file, device or pipe that holds more is refused once
/// that much has been read. On failure the message has been printed to `err`.
std::variant<Program, ProgramFileFault> readProgramFile(const std::string& path, std::ostream& err);

} // namespace kerf::cli
