// SPDX-License-Identifier: GPL-3.0-or-later
// Any texts in the designer's boxes: the design button refuses them or lays
// the dies out, never anything else.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "layout/design_driver.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    // The first byte picks the wafer size chosen last; the rest are the five
    // boxes' texts, separated by NUL.
    std::vector<std::string> boxes(1);
    for (std::size_t i = 1; i < size; ++i) {
        if (data[i] == 0 && boxes.size() < 5)
            boxes.emplace_back();
        else
            boxes.back() += static_cast<char>(data[i]);
    }
    boxes.resize(5);
    kerf::DesignInput input;
    input.texts = {boxes[0], boxes[1], boxes[2], boxes[3], boxes[4]};
    const float diameters[] = {0.0f, 2.0f, 2.5f, 3.0f, 4.0f, 5.0f};
    input.WaferDiameter = diameters[data[0] % 6];
    const kerf::DesignOutcome outcome = kerf::runDesign(input);
    if (const auto* design = std::get_if<kerf::Design>(&outcome)) {
        if (design->layout.RowTable.upperBound() < 0)
            __builtin_trap();
    }
    return 0;
}
