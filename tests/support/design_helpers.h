// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "layout/design_driver.h"
#include "layout/wafer_layout.h"

namespace kerf::testing {

/// Runs the design button for a wafer size item (or none: ""), a shape and the
/// box texts; the effective diameter box holds what the size choice put there
/// unless `effective` is given.
DesignOutcome design(const std::string& wafer, const std::string& shape, const std::string& die,
                     const std::string& gap = "", const char* effective = nullptr);

/// The same, expecting a finished design.
Design designed(const std::string& wafer, const std::string& shape, const std::string& die,
                const std::string& gap = "", const char* effective = nullptr);

/// The layout of such a finished design.
WaferLayout designedLayout(const std::string& wafer, const std::string& shape, const std::string& die,
                           const std::string& gap = "", const char* effective = nullptr);

/// A hexagon layout of rows centred on the wafer's vertical line, with these
/// die counts from top to bottom (an odd number of rows), a = half the die
/// width, h = half its side; RelX, RelY the lower-left corner of each row's
/// leftmost die.
WaferLayout hexagonRows(const std::vector<int>& countsTopToBottom, float a, double h);

} // namespace kerf::testing
