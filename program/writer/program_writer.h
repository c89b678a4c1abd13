#pragma once

#include <ostream>
#include <string_view>

namespace kerf {

/// Writes the lines of a cutting program to a stream: each line as given,
/// ended by CR LF, the bytes unchanged (the caller brings them in the file's
/// code page). Stream errors are left in the stream's state for its owner.
class ProgramWriter {
public:
    explicit ProgramWriter(std::ostream& out) : out_(out) {}

    void line(std::string_view text);
    /// A line holding only CR LF.
    void emptyLine() { line({}); }

private:
    std::ostream& out_;
};

} // namespace kerf
