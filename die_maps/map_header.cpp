// SPDX-License-Identifier: GPL-3.0-or-later
#include "die_maps/map_header.h"

#include <algorithm>
#include <cmath>

#include "files/utf8.h"

namespace kerf {

int flatLocationOf(std::optional<double> primaryFlatAngle)
{
    if (!primaryFlatAngle || !std::isfinite(*primaryFlatAngle))
        return DefaultFlatLocation;
    const double clockwiseFromTop = std::fmod(90.0 - *primaryFlatAngle, 360.0);
    const long quarters = std::lround((clockwiseFromTop < 0 ? clockwiseFromTop + 360.0 : clockwiseFromTop) / 90.0);
    return static_cast<int>(quarters % 4) * 90;
}

int flatLocationOf(const WaferFlats& flats)
{
    return flatLocationOf(flats.primary ? std::optional(flats.primary->at) : std::nullopt);
}

std::optional<std::string> mapHeaderFault(const MapHeader& header)
{
    const std::pair<const char*, const std::string*> values[] = {
        {"DEVICE", &header.device}, {"LOT", &header.lot}, {"WAFER", &header.wafer}};
    for (const auto& [key, value] : values) {
        const auto text = decodeUtf8(*value);
        if (!text || std::any_of(text->begin(), text->end(), isControlCharacter))
            return std::string(key) + " 的文字不可含控制字元或換行，且須是正確的 UTF-8 文字。";
    }
    return std::nullopt;
}

} // namespace kerf
