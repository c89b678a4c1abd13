// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "layout/wafer_layout.h"

namespace kerf {

/// An edge of a die as the report names it: `key` for the JSON ("upper left"),
/// `label` for the words (左上).
struct EdgeName {
    std::string_view key;
    std::string_view label;
};

/// The edges of `mask` (bit k for edge k, as UncutDie::uncutEdges numbers
/// them) in edge order: hexagons' six edges, squares' four sides; none for
/// circles and for bits past the shape's edges.
std::vector<EdgeName> edgesOf(DieShape shape, std::uint8_t mask);

} // namespace kerf
