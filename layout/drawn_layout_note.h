// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

#include "layout/wafer_layout.h"

namespace kerf {

/// When the designer's boxes `boxes` no longer say what the layout drawn was
/// designed from (`drawn`: a later design was refused, or the boxes changed
/// since), which layout a program will be written from: its wafer, effective
/// diameter, shape, die size and (round dies) fine-tune. Nothing while they match.
std::optional<std::string> drawnLayoutNote(const DesignTexts& boxes, const DesignTexts& drawn);

} // namespace kerf
