// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

#include "die_maps/map_grid.h"
#include "die_maps/map_header.h"
#include "layout/wafer_layout.h"

namespace kerf {

enum class DieMapFormat { Sinf, E142 };

/// The map of `grid` in `format` (writeSinf or writeE142).
void writeDieMap(std::ostream& out, const MapGrid& grid, DieMapFormat format, const MapHeader& header);

/// Writes the map of `layout` to `file` through the one output path; the
/// message box's prompt when nothing was written (a header text refused, no
/// map for this layout, the write's failure).
std::optional<std::string> writeDieMapFile(const std::filesystem::path& file, const WaferLayout& layout,
                                           DieMapFormat format, const MapHeader& header);

} // namespace kerf
