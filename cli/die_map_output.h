// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "cli/command_line.h"
#include "die_maps/die_bins.h"
#include "die_maps/die_map_file.h"
#include "die_maps/map_header.h"
#include "job/job.h"
#include "layout/wafer_layout.h"

namespace kerf::cli {

/// --device, --lot and --wafer-id: the header texts of a written wafer map.
struct MapHeaderTexts {
    std::optional<std::string> device;
    std::optional<std::string> lot;
    std::optional<std::string> waferId;
};
void addMapHeaderOptions(CLI::App& app, MapHeaderTexts& texts);

/// The header of a map of `job`: DEVICE its program name unless --device
/// gives one, LOT and WAFER as given (empty otherwise).
MapHeader mapHeaderOf(const MapHeaderTexts& texts, const Job& job);

/// Writes the wafer map of `layout` to `path` ("-": `out`) and prints the path;
/// the exit code: 0, or 1 with the reason on `err` (no map for this layout,
/// a header text refused, the write failed).
int writeDieMapOutput(const WaferLayout& layout, DieMapFormat format, const std::string& path, const MapHeader& header,
                std::ostream& out, std::ostream& err);

/// The bins of the SINF map at `path` for `layout`; nothing, with the reason
/// on `err` and the exit code in `exitCode` (2 a file that cannot be read, 1
/// a refused map).
std::optional<DieBins> readDieBins(const WaferLayout& layout, const std::string& path, std::ostream& err,
                                   int& exitCode);

/// `"bins": {"good": n, "bad": n, "codes": {"01": n, …}}`, a member of the design's JSON.
std::string binsJsonMember(const DieBins& bins);

} // namespace kerf::cli
