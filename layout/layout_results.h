#pragma once

#include <string>

#include "layout/wafer_layout.h"

namespace kerf {

/// The three result boxes, as their texts: total cutting rows, total dies,
/// area utilisation in percent.
struct LayoutResults {
    std::string rows;
    std::string dies;
    std::string utilisation;

    bool operator==(const LayoutResults&) const = default;
};

/// The area of the effective circle, with π as 3.141592654.
inline constexpr double PI_APPROX = 3.141592654;

/// The dies a layout holds: the sum of DieCount over RowTable, for squares
/// over row lines 2 to N (the first row line closes no die).
long long dieTotal(const WaferLayout& layout);

/// The results that the map drawing writes for a designer layout.
LayoutResults layoutResults(const WaferLayout& layout);

} // namespace kerf
