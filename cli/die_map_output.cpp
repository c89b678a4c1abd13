// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/die_map_output.h"

#include "cli/json_text.h"
#include "cli/output_file.h"
#include "die_maps/map_grid.h"
#include "die_maps/sinf_reader.h"

namespace kerf::cli {

void addMapHeaderOptions(CLI::App& app, MapHeaderTexts& texts)
{
    addTextOption(app, "--device", texts.device, "TEXT", "晶圓圖的 DEVICE（預設為工作檔的程式名稱）");
    addTextOption(app, "--lot", texts.lot, "TEXT", "晶圓圖的 LOT（批號）");
    addTextOption(app, "--wafer-id", texts.waferId, "TEXT", "晶圓圖的 WAFER（晶片編號）");
}

MapHeader mapHeaderOf(const MapHeaderTexts& texts, const Job& job)
{
    MapHeader header;
    header.device = texts.device.value_or(job.program.name.value_or(""));
    header.lot = texts.lot.value_or("");
    header.wafer = texts.waferId.value_or("");
    return header;
}

int writeDieMapOutput(const WaferLayout& layout, DieMapFormat format, const std::string& path, const MapHeader& header,
                std::ostream& out, std::ostream& err)
{
    if (const auto fault = mapHeaderFault(header)) {
        err << "晶圓圖沒有寫出：" << *fault << '\n';
        return 1;
    }
    const auto grid = mapGridOf(layout);
    if (const auto* refusal = std::get_if<MapGridRefusal>(&grid)) {
        err << "晶圓圖沒有寫出：" << refusal->message << '\n';
        return 1;
    }
    MapHeader written = header;
    written.flatLocation = flatLocationOf(layout.flats);
    const auto failure = writeOutputFile(
        path, out, [&](std::ostream& file) { kerf::writeDieMap(file, std::get<MapGrid>(grid), format, written); });
    if (failure) {
        err << replaceFailureText("晶圓圖", path, *failure) << '\n';
        return 1;
    }
    if (path != "-") // else the map is the output
        out << path << '\n';
    return 0;
}

std::optional<DieBins> readDieBins(const WaferLayout& layout, const std::string& path, std::ostream& err,
                                   int& exitCode)
{
    exitCode = 1;
    const auto grid = mapGridOf(layout);
    if (const auto* refusal = std::get_if<MapGridRefusal>(&grid)) {
        err << "無法讀入晶圓圖 " << path << "：" << refusal->message << '\n';
        return std::nullopt;
    }
    auto read = readSinfBins(path, std::get<MapGrid>(grid));
    if (const auto* refusal = std::get_if<MapRefusal>(&read)) {
        err << refusal->message << '\n';
        exitCode = refusal->unreadable ? 2 : 1;
        return std::nullopt;
    }
    exitCode = 0;
    return std::get<DieBins>(std::move(read));
}

std::string binsJsonMember(const DieBins& bins)
{
    std::string json = "\"bins\": {\"good\": " + std::to_string(bins.good) + ", \"bad\": " + std::to_string(bins.bad)
                       + ", \"codes\": {";
    bool first = true;
    for (const auto& [code, count] : bins.codes) {
        json += first ? "" : ", ";
        first = false;
        appendJsonString(json, code);
        json += ": " + std::to_string(count);
    }
    return json + "}}";
}

} // namespace kerf::cli
