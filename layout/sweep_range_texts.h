// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

#include "layout/die_size_sweep.h"

namespace kerf {

/// The die-size chart's range boxes as typed: from and to in mil, the count
/// of sizes.
struct SweepRangeTexts {
    std::string from;
    std::string to;
    std::string steps;
};

/// Which of the range boxes a refusal is about, for the focus.
enum class SweepRangeBox { From, To, Steps };

/// Why the range boxes do not make a sweep: the chart's message and the box
/// to fix.
struct SweepRangeRefusal {
    std::string prompt;
    SweepRangeBox box;
};

/// Reads the range boxes into `request` (fromMil, toMil, steps) and checks
/// the request as sweepRequestFault does; the refusal when they do not make
/// a sweep, `request` then as far as it was read.
std::optional<SweepRangeRefusal> readSweepRange(const SweepRangeTexts& texts, SweepRequest& request);

} // namespace kerf
