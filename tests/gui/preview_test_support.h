#pragma once

#include <sstream>
#include <string>
#include <variant>

#include <QTest>

#include "program/writer/generation_driver.h"
#include "layout/design_driver.h"

namespace kerf::testing {

/// The layout that the design button makes of these boxes (the effective
/// diameter as choosing the size fills it, unless given).
inline WaferLayout designedLayout(const char* size, const char* shape, const char* die, const char* gap = "",
                                  const char* effective = nullptr)
{
    const WaferSizeChoice choice = chooseWaferSize(size, 0);
    DesignInput input;
    input.texts = {size, effective ? effective : choice.effectiveText, shape, die, gap};
    input.WaferDiameter = choice.WaferDiameter;
    DesignOutcome outcome = runDesign(input);
    if (!std::holds_alternative<Design>(outcome))
        qFatal("no design of %s %s %s", size, shape, die);
    return std::get<Design>(std::move(outcome)).layout;
}

/// The program that the generation window's start button writes for `layout`.
inline std::string programOf(const WaferLayout& layout, const char* passes = "1")
{
    GenerationRequest request;
    request.texts.name = "PREVIEW";
    request.texts.passes = passes;
    request.date = std::chrono::year_month_day{std::chrono::year{2024}, std::chrono::month{1}, std::chrono::day{2}};
    std::ostringstream out;
    const GenerationOutcome outcome = runGeneration(layout, request, std::ref(out));
    if (!std::holds_alternative<GenerationDone>(outcome))
        qFatal("no program");
    return out.str();
}

} // namespace kerf::testing
