// SPDX-License-Identifier: GPL-3.0-or-later
#include "program_units.h"

#include "numbers/number_text.h"
#include "program/words/program_lines.h"

namespace kerf {
namespace {

std::string dateComment(std::chrono::year_month_day date)
{
    return commentLine(dateText(date));
}

} // namespace

void writeUnitOpening(ProgramWriter& out, std::string_view name)
{
    for (const std::string& line : unitOpeningLines(name))
        out.line(line);
}

void writeSubroutineUnit(ProgramWriter& out, SubroutineUnit unit, std::string_view title,
                         std::chrono::year_month_day date, std::span<const std::string> commands)
{
    writeUnitOpening(out, wordText(unit));
    out.line(dateComment(date));
    out.line(commentLine(title));
    for (const std::string& command : commands)
        out.line(command);
    out.line(CommandWord::EI);
    out.emptyLine();
}

void writeRepeatedCall(ProgramWriter& out, long long count, SubroutineUnit unit)
{
    out.line(repeatLine(count));
    out.line(unitCallLine(wordText(unit)));
    out.line(CommandWord::EL);
}

void WriteProgramHeader(ProgramWriter& out, const ProgramHeader& header)
{
    writeUnitOpening(out, header.programName);
    out.line(dateComment(header.date));
    out.line(commentLine("Wafer size = " + header.waferSize));
    std::string shape = "For " + header.shape + ", size = " + header.dieSize + " mil ";
    if (!header.fineTune.empty())
        shape += "with gap = " + header.fineTune + " mil";
    out.line(commentLine(shape));
    out.line(settingLine(OperandWord::DVL, header.DVL));
    out.line(settingLine(OperandWord::DAC, header.DAC));
    out.line(settingLine(OperandWord::TIM, "0.0"));
    out.line(CommandWord::LASON);
    out.line(waitLine("1.0"));
    for (CommandWord word : {CommandWord::VACON, CommandWord::VENTON, CommandWord::O1ON, CommandWord::LSO,
                             CommandWord::ZERO})
        out.line(word);
    out.line(commentLine("MAIN PROGRAM"));
}

void WriteProgramTrailer(ProgramWriter& out)
{
    out.line(absoluteMove("0.0", "0.0"));
    out.line(CommandWord::OFF);
    out.line(displayLine(OperandWord::TIM));
    out.line(CommandWord::EI);
}

} // namespace kerf
