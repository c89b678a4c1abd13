// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <sstream>

#include "program/writer/program_units.h"
#include "tests/support/generated_programs.h"
#include "tests/support/program_text.h"

using namespace kerf;
using kerf::testing::programLines;
using kerf::testing::TestDate;

namespace {

ProgramHeader header()
{
    return {"job", "4.0 Inches", "Circle", "100", "2", "0.6", "6.0", TestDate};
}

std::string headerText(const ProgramHeader& h)
{
    std::ostringstream out;
    ProgramWriter writer(out);
    WriteProgramHeader(writer, h);
    return out.str();
}

} // namespace

TEST(ProgramWriter, EndsEveryLineWithCarriageReturnAndLineFeed)
{
    std::ostringstream out;
    ProgramWriter writer(out);
    writer.line("II");
    writer.emptyLine();
    writer.line("SL 3");
    EXPECT_EQ(out.str(), "II\r\n\r\nSL 3\r\n");
}

TEST(ProgramWriter, WritesBytesAsGiven)
{
    std::ostringstream out;
    ProgramWriter writer(out);
    writer.line("PN \xB4\xB9\xA4\xF9"); // 晶片 in CP950
    EXPECT_EQ(out.str(), "PN \xB4\xB9\xA4\xF9\r\n");
}

TEST(ProgramHeader, WritesTheSeventeenLinesOfTheOpeningBlock)
{
    const std::vector<std::string> expected = {
        "PN job", "DI 1 10000", "II", "# 2004/03/05", "# Wafer size = 4.0 Inches",
        "# For Circle, size = 100 mil with gap = 2 mil", "SP DVL = 0.6", "SP DAC = 6.0", "SP TIM = 0.0",
        "LASON", "WT 1.0", "VACON", "VENTON", "O1ON", "LSO", "ZERO", "# MAIN PROGRAM"};
    EXPECT_EQ(programLines(headerText(header())), expected);
}

TEST(ProgramHeader, EmptyFineTuneEndsTheShapeLineInOneBlank)
{
    ProgramHeader h = header();
    h.shape = "Square";
    h.dieSize = "250";
    h.fineTune = "";
    EXPECT_EQ(programLines(headerText(h))[5], "# For Square, size = 250 mil ");
}

TEST(ProgramHeader, FineTuneOfZeroIsStillWritten)
{
    ProgramHeader h = header();
    h.fineTune = "0";
    EXPECT_EQ(programLines(headerText(h))[5], "# For Circle, size = 100 mil with gap = 0 mil");
}

TEST(ProgramHeader, UserTextsAreWrittenAsTyped)
{
    ProgramHeader h = header();
    h.programName = "MY JOB";
    h.DVL = "6";
    h.DAC = "abc";
    const auto lines = programLines(headerText(h));
    EXPECT_EQ(lines[0], "PN MY JOB");
    EXPECT_EQ(lines[6], "SP DVL = 6");
    EXPECT_EQ(lines[7], "SP DAC = abc");
}

TEST(ProgramTrailer, WritesFourLinesAndNoEmptyLineAfterThem)
{
    std::ostringstream out;
    ProgramWriter writer(out);
    WriteProgramTrailer(writer);
    EXPECT_EQ(out.str(), "MA X 0.0 Y 0.0\r\nOFF\r\nDP TIM\r\nEI\r\n");
}

TEST(SubroutineUnit, HasDateAndTitleCommentsAndOneEmptyLineAfterEI)
{
    std::ostringstream out;
    ProgramWriter writer(out);
    const std::vector<std::string> commands = {"OS", "CS"};
    writeSubroutineUnit(writer, SubroutineUnit::CIR1, "First Circle Subroutine", TestDate, commands);
    EXPECT_EQ(out.str(),
              "PN CIR1\r\nDI 1 10000\r\nII\r\n# 2004/03/05\r\n# First Circle Subroutine\r\nOS\r\nCS\r\nEI\r\n\r\n");
}
