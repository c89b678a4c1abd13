// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace kerf::testing {

/// The pieces (string literals and strings) one after the other.
template <class... Pieces>
std::string concatenated(const Pieces&... pieces)
{
    std::string text;
    (text.append(pieces), ...);
    return text;
}

} // namespace kerf::testing
