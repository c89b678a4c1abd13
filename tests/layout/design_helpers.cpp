#include "design_helpers.h"

#include <gtest/gtest.h>

namespace kerf::testing {

DesignOutcome design(const std::string& wafer, const std::string& shape, const std::string& die,
                     const std::string& gap, const char* effective)
{
    const WaferSizeChoice size = chooseWaferSize(wafer, 0);
    DesignInput input;
    input.WaferDiameter = size.WaferDiameter;
    input.texts = {wafer, effective ? effective : (wafer.empty() ? "" : size.effectiveText), shape, die, gap};
    return runDesign(input);
}

Design designed(const std::string& wafer, const std::string& shape, const std::string& die,
                const std::string& gap, const char* effective)
{
    DesignOutcome outcome = design(wafer, shape, die, gap, effective);
    if (const auto* refusal = std::get_if<Refusal>(&outcome))
        ADD_FAILURE() << "refused: " << refusal->prompt;
    if (!std::holds_alternative<Design>(outcome)) {
        ADD_FAILURE() << "no design for " << wafer << " " << shape << " " << die;
        return {};
    }
    return std::get<Design>(std::move(outcome));
}

} // namespace kerf::testing
