// SPDX-License-Identifier: GPL-3.0-or-later
#include "program/check/report/edge_names.h"

#include <array>
#include <span>

namespace kerf {

namespace {

constexpr std::array<EdgeName, 6> HexagonEdges = {{{"left", "左"},
                                                   {"upper left", "左上"},
                                                   {"upper right", "右上"},
                                                   {"right", "右"},
                                                   {"lower right", "右下"},
                                                   {"lower left", "左下"}}};
constexpr std::array<EdgeName, 4> SquareSides = {{{"left", "左"}, {"top", "上"}, {"right", "右"}, {"bottom", "下"}}};

std::span<const EdgeName> edgesOfShape(DieShape shape)
{
    switch (shape) {
    case DieShape::Hexagon: return HexagonEdges;
    case DieShape::Square: return SquareSides;
    case DieShape::Circle: break;
    }
    return {};
}

} // namespace

std::vector<EdgeName> edgesOf(DieShape shape, std::uint8_t mask)
{
    const std::span<const EdgeName> edges = edgesOfShape(shape);
    std::vector<EdgeName> named;
    for (std::size_t k = 0; k < edges.size(); ++k)
        if (mask & (1u << k))
            named.push_back(edges[k]);
    return named;
}

} // namespace kerf
