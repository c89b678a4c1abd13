#include "program_units.h"

#include "numbers/number_text.h"

namespace kerf {
namespace {

std::string dateComment(std::chrono::year_month_day date)
{
    return "# " + dateText(date);
}

} // namespace

void writeUnitOpening(ProgramWriter& out, std::string_view name)
{
    out.line("PN " + std::string(name));
    out.line("DI 1 10000");
    out.line("II");
}

void writeSubroutineUnit(ProgramWriter& out, std::string_view name, std::string_view title,
                         std::chrono::year_month_day date, std::span<const std::string> commands)
{
    writeUnitOpening(out, name);
    out.line(dateComment(date));
    out.line(title);
    for (const std::string& command : commands)
        out.line(command);
    out.line("EI");
    out.emptyLine();
}

void WriteProgramHeader(ProgramWriter& out, const ProgramHeader& header)
{
    writeUnitOpening(out, header.programName);
    out.line(dateComment(header.date));
    out.line("# Wafer size = " + header.waferSize);
    std::string shapeLine = "# For " + header.shape + ", size = " + header.dieSize + " mil ";
    if (!header.fineTune.empty())
        shapeLine += "with gap = " + header.fineTune + " mil";
    out.line(shapeLine);
    out.line("SP DVL = " + header.DVL);
    out.line("SP DAC = " + header.DAC);
    for (const char* fixed : {"SP TIM = 0.0", "LASON", "WT 1.0", "VACON", "VENTON", "O1ON", "LSO",
                              "ZERO", "# MAIN PROGRAM"})
        out.line(fixed);
}

void WriteProgramTrailer(ProgramWriter& out)
{
    for (const char* fixed : {"MA X 0.0 Y 0.0", "OFF", "DP TIM", "EI"})
        out.line(fixed);
}

} // namespace kerf
