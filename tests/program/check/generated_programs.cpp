#include "generated_programs.h"

#include <chrono>
#include <functional>
#include <sstream>
#include <variant>

#include <gtest/gtest.h>

#include "program/writer/generation_driver.h"

namespace kerf::testing {

std::string programFor(const WaferLayout& layout, int passes)
{
    GenerationRequest request;
    request.texts.name = "JOB";
    request.texts.passes = std::to_string(passes);
    request.date = std::chrono::year(2004) / std::chrono::March / 5;
    std::ostringstream out;
    const GenerationOutcome outcome = runGeneration(layout, request, std::ref(static_cast<std::ostream&>(out)));
    EXPECT_TRUE(std::holds_alternative<GenerationDone>(outcome));
    return out.str();
}

std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line.ends_with('\r') ? line.substr(0, line.size() - 1) : line);
    return lines;
}

std::string joined(const std::vector<std::string>& lines)
{
    std::string text;
    for (const auto& line : lines)
        text += line + "\r\n";
    return text;
}

} // namespace kerf::testing
