// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "program/words/command_words.h"

namespace kerf {

/// Writes the lines of a cutting program to a stream: each line as given,
/// ended by CR LF, the bytes unchanged (the caller brings them in the file's
/// code page). Stream errors are left in the stream's state for its owner.
class ProgramWriter {
public:
    explicit ProgramWriter(std::ostream& out) : out_(out) {}

    void line(std::string_view text);
    /// A line of one word.
    void line(CommandWord word) { line(wordText(word)); }
    /// A line holding only CR LF.
    void emptyLine() { line(std::string_view{}); }

private:
    std::ostream& out_;
    std::string line_;
};

} // namespace kerf
