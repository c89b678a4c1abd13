// SPDX-License-Identifier: GPL-3.0-or-later
#include "program_writer.h"

namespace kerf {

void ProgramWriter::line(std::string_view text)
{
    // One write a line: the stream's guard costs more than the copy.
    line_.assign(text);
    line_.append("\r\n");
    out_.write(line_.data(), static_cast<std::streamsize>(line_.size()));
}

} // namespace kerf
