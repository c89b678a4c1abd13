// SPDX-License-Identifier: GPL-3.0-or-later
// What the writer writes, the reader reads: every program name the name
// check lets through gives a program that the reader takes, with that name
// (between its blanks) on the main unit.
#include <gtest/gtest.h>

#include <sstream>

#include "files/cp950.h"
#include "program/writer/generation_driver.h"
#include "program/writer/program_name_check.h"
#include "program/reader/program_reader.h"
#include "program/reader/reading_error_text.h"
#include "tests/support/design_helpers.h"
#include "tests/support/generated_programs.h"

using namespace kerf;
using namespace kerf::testing;

namespace {

// Every name of one and of two printable ASCII characters, the same between
// blanks, and names of Chinese characters and of the most characters.
std::vector<std::string> candidateNames()
{
    std::vector<std::string> names;
    for (char a = ' '; a <= '~'; ++a) {
        names.push_back(std::string(1, a));
        names.push_back(" " + std::string(1, a) + "  ");
        for (char b = ' '; b <= '~'; ++b)
            names.push_back(std::string{a, b});
    }
    for (const char* name : {"晶片切割", "晶片 切割", "　", "　job　", "12345678901234567890",
                             "晶片晶片晶片晶片晶片晶片晶片晶片晶片晶片", "PN", "PN PN", "EI", "DI 1 10000", "II",
                             "SL 2", "EL", "CIR1x", "HEX 1", "#job", "'job", ";job", "job.TXT"})
        names.push_back(name);
    return names;
}

std::string trimmedBlanks(const std::string& name)
{
    const auto first = name.find_first_not_of(' ');
    return name.substr(first, name.find_last_not_of(' ') - first + 1);
}

} // namespace

TEST(AcceptedNamesRoundTrip, EveryAcceptedNameIsReadBackAsTheMainUnit)
{
    const WaferLayout layouts[] = {designedLayout("2.0 Inches", "Circle", "600", "2"),
                                   designedLayout("2.0 Inches", "Hexagon", "600", "2"),
                                   designedLayout("2.0 Inches", "Square", "600", "2")};
    int accepted = 0;
    for (const std::string& name : candidateNames()) {
        if (checkProgramName(name))
            continue;
        for (const WaferLayout& layout : layouts) {
            for (const char* passes : {"1", "2"}) {
                GenerationRequest request;
                request.texts.name = name;
                request.texts.passes = passes;
                request.date = TestDate;
                std::ostringstream out;
                const auto outcome = runGeneration(layout, request, std::ref(out));
                if (std::holds_alternative<GenerationRefusal>(outcome))
                    continue; // a subroutine's name, or a text CP950 cannot hold
                ASSERT_TRUE(std::holds_alternative<GenerationDone>(outcome)) << '"' << name << '"';
                ++accepted;
                const auto read = parseProgram(out.str());
                ASSERT_TRUE(std::holds_alternative<Program>(read))
                    << '"' << name << "\": " << readingErrorText(std::get<ProgramError>(read));
                const Program& program = std::get<Program>(read);
                EXPECT_EQ(program.units()[program.entryUnit()].name,
                          std::get<std::string>(toCp950(trimmedBlanks(name))));
            }
        }
    }
    EXPECT_GT(accepted, 40000);
}
