// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

#include "layout/wafer_flats.h"

namespace kerf {

/// Where the primary flat lies on a written map, in degrees clockwise from 12
/// o'clock as the map is drawn (top row up): 0 top, 90 right, 180 bottom, 270
/// left. A wafer without flats is written as if its flat were in the usual
/// place at 6 o'clock: 180.
inline constexpr int DefaultFlatLocation = 180;

/// The flat location for a primary flat at `angle` degrees counter-clockwise
/// from 3 o'clock as seen on the map (270 is 6 o'clock), to the nearest
/// quarter turn, which is what map readers take; no flat gives DefaultFlatLocation.
int flatLocationOf(std::optional<double> primaryFlatAngle);
/// The flat location of the wafer's primary flat, DefaultFlatLocation without one.
int flatLocationOf(const WaferFlats& flats);

/// The texts a map file carries about the wafer it describes.
struct MapHeader {
    std::string device; // the job's program name, where there is one
    std::string lot;
    std::string wafer;
    int flatLocation = DefaultFlatLocation;
};

/// Why a header cannot be written: a value that is not UTF-8 text or holds a
/// control character (a line break would end the header line), named by its key.
std::optional<std::string> mapHeaderFault(const MapHeader& header);

} // namespace kerf
