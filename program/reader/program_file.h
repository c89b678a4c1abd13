// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <memory>
#include <memory_resource>
#include <string>
#include <string_view>
#include <variant>

#include "memory/large_pages.h"
#include "program/reader/program_reader.h"

namespace kerf {

// A cutting program file as the check and the preview read it: its bytes as
// they stand (CP950 text, CR LF or LF lines, the last line with or without
// its end), parsed. The words for a file that cannot be read or is no
// program are the same wherever it is opened.

/// A program file read and parsed.
struct ProgramFile {
    std::string path;
    std::pmr::string text{largePageMemory()}; // the bytes of the file
    std::shared_ptr<const Program> program;
    std::time_t modified = 0; // when the file was last written
};

/// Why a program file was not read.
enum class ProgramFileFault {
    Unreadable,  // it cannot be opened or read
    NotAProgram, // not a well-formed program
    TooLarge,    // reading it would pass the memory bound (an endless device, say)
};

/// Why a program file was not read: what went wrong, and the message naming the file.
struct ProgramFileRefusal {
    ProgramFileFault fault;
    std::string message;
};

/// The memory a program file's reading may take: 1 GB, or what the process
/// may still take when its limits (RLIMIT_AS, RLIMIT_DATA) give it less.
std::size_t programMemoryBound();

/// Reads the file at `path` and parses it within programMemoryBound(): the
/// text at most half of it, the text and the compiled program together at
/// most all of it. Refused, in Traditional Chinese, when the file cannot be
/// read (with the reason), is not a well-formed program (with the line where
/// it stops being one), or holds more than the bound allows (a file, device
/// or pipe is refused once that much has been read).
std::variant<ProgramFile, ProgramFileRefusal> readProgramFile(const std::string& path);

/// The lines of a text as the reader counts them: every line end, and a last
/// line without its end.
std::uint64_t lineCount(std::string_view text);

} // namespace kerf
