#include "program_writer.h"

namespace kerf {

void ProgramWriter::line(std::string_view text)
{
    out_.write(text.data(), static_cast<std::streamsize>(text.size()));
    out_.write("\r\n", 2);
}

} // namespace kerf
