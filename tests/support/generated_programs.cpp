// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/generated_programs.h"

#include <functional>
#include <sstream>
#include <variant>

#include "program/writer/generation_driver.h"
#include "tests/support/program_text.h"
#include "tests/support/test_failure.h"

namespace kerf::testing {

ProgramParameters defaultParameters(const WaferLayout& layout, std::int16_t cutCount)
{
    ProgramParameters parameters;
    parameters.header = {"job",     layout.texts.waferSize, layout.texts.shape, layout.texts.dieSize,
                         layout.texts.fineTune, "0.6", "6.0", TestDate};
    parameters.CutCount = cutCount;
    parameters.VEL = "0.6";
    parameters.ACC = "6.0";
    return parameters;
}

std::string programFor(const WaferLayout& layout, int passes)
{
    GenerationRequest request;
    request.texts.name = "JOB";
    request.texts.passes = std::to_string(passes);
    request.date = TestDate;
    std::ostringstream out;
    const GenerationOutcome outcome = runGeneration(layout, request, std::ref(static_cast<std::ostream&>(out)));
    if (const auto* refusal = std::get_if<GenerationRefusal>(&outcome))
        failTest("generation refused: " + refusal->prompt);
    if (const auto* failure = std::get_if<GenerationFailure>(&outcome))
        failTest("generation failed: " + failure->prompt);
    return out.str();
}

std::vector<std::string> writtenLines(ProgramWriterFunction write, const WaferLayout& layout, std::int16_t cutCount)
{
    std::ostringstream out;
    write(out, layout, defaultParameters(layout, cutCount));
    return programLines(out.str());
}

} // namespace kerf::testing
