// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>

namespace kerf {

/// Today's date in the machine's local time zone.
std::chrono::year_month_day localDate();

} // namespace kerf
