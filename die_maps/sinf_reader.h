// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <variant>

#include "die_maps/die_bins.h"
#include "die_maps/map_grid.h"

namespace kerf {

/// A SINF file larger than this is refused unread: the largest map written
/// (MaxMapCells cells) is well below it.
inline constexpr std::size_t MaxMapFileBytes = std::size_t{64} << 20;

/// Steps of a map and of the layout agree when they differ by no more than this (mil).
inline constexpr double MapStepTolerance = 0.001;

/// A binned map refused: the message names the file and, where one is at
/// fault, the line; `unreadable` when the file could not be read at all.
struct MapRefusal {
    std::string message;
    bool unreadable = false;
};

/// The bins of a SINF map `text` (called `name` in messages) of the layout
/// whose grid is `grid`. The header's ROWCT, COLCT, XDIES and YDIES (in DUTMS
/// mil or mm) must be the grid's; BCEQU lists the good codes. Each RowData
/// line holds COLCT codes: two hexadecimal digits on every die of the layout,
/// `__` where it has none. Anything else is refused, naming the line: a line
/// that is no SINF, a missing or repeated header value, another width, an
/// unknown code, a map of another layout (what differs), too few or many rows.
std::variant<DieBins, MapRefusal> parseSinfBins(std::string_view text, const MapGrid& grid, const std::string& name);

/// The same for the file at `file`, read whole unless it is larger than MaxMapFileBytes.
std::variant<DieBins, MapRefusal> readSinfBins(const std::filesystem::path& file, const MapGrid& grid);

} // namespace kerf
