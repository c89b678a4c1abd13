// SPDX-License-Identifier: GPL-3.0-or-later
#include "die_maps/die_map_file.h"

#include "die_maps/e142_writer.h"
#include "die_maps/sinf_writer.h"
#include "files/file_replacement.h"

namespace kerf {

void writeDieMap(std::ostream& out, const MapGrid& grid, DieMapFormat format, const MapHeader& header)
{
    if (format == DieMapFormat::Sinf)
        writeSinf(out, grid, header);
    else
        writeE142(out, grid, header);
}

std::optional<std::string> writeDieMapFile(const std::filesystem::path& file, const WaferLayout& layout,
                                           DieMapFormat format, const MapHeader& header)
{
    if (const auto fault = mapHeaderFault(header))
        return "晶圓圖沒有寫出：" + *fault;
    const auto grid = mapGridOf(layout);
    if (const auto* refusal = std::get_if<MapGridRefusal>(&grid))
        return "晶圓圖沒有寫出：" + refusal->message;
    const auto failure = replaceFile(file, [&](std::ostream& out) { writeDieMap(out, std::get<MapGrid>(grid), format, header); });
    if (failure)
        return replaceFailureText("晶圓圖", file, *failure);
    return std::nullopt;
}

} // namespace kerf
