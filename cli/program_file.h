#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <variant>

#include "program/reader/program_reader.h"

namespace kerf::cli {

/// The program file at `path`, read and parsed; on failure the message has
/// been printed to `err` (the file unreadable, or not a well-formed program
/// with the line where it stops being one).
std::optional<Program> readProgramFile(const std::string& path, std::ostream& err);

} // namespace kerf::cli
