// SPDX-License-Identifier: GPL-3.0-or-later
// Any text as a cutting program: read, run, and checked against a layout of
// each shape, within the check's own bounds of work.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "program/check/cut_check.h"
#include "program/reader/program_reader.h"
#include "layout/design_driver.h"

namespace {

const kerf::WaferLayout& layoutOf(std::uint8_t choice)
{
    static const kerf::WaferLayout layouts[] = {
        [] {
            kerf::DesignInput input;
            input.texts = {"2.0 Inches", "1.9", "Circle", "100", "2"};
            input.WaferDiameter = 2.0f;
            return std::get<kerf::Design>(kerf::runDesign(input)).layout;
        }(),
        [] {
            kerf::DesignInput input;
            input.texts = {"2.0 Inches", "1.9", "Hexagon", "200", "0"};
            input.WaferDiameter = 2.0f;
            return std::get<kerf::Design>(kerf::runDesign(input)).layout;
        }(),
        [] {
            kerf::DesignInput input;
            input.texts = {"2.0 Inches", "1.9", "Square", "250", "0"};
            input.WaferDiameter = 2.0f;
            return std::get<kerf::Design>(kerf::runDesign(input)).layout;
        }(),
    };
    return layouts[choice % 3];
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    kerf::CutCheckOptions options;
    options.listLimit = 5;
    const auto checked = kerf::checkProgramText(text, layoutOf(data[0]), options);
    if (const auto* report = std::get_if<kerf::CutReport>(&checked)) {
        if (report->diesFullyCut > report->dies || report->cuttingMotions > report->motions)
            __builtin_trap();
    }
    return 0;
}
