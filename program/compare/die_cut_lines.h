// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "layout/wafer_layout.h"
#include "program/reader/program_reader.h"

namespace kerf {

/// The lines of a program that cut one die, each once, in line order.
struct DieCutLines {
    std::vector<std::uint32_t> lines;
    /// The run went to its end (not cancelled, not past its bound of motions).
    bool complete = true;
};

/// Runs `program` motion by motion and keeps the lines of the cutting
/// motions that lie on the outline of the die centred on `centre`: along a
/// hexagon's edge or a square cell's side (for some length), or an arc of
/// about the half die size about it. At most `maxMotions` motions are run;
/// `progress` (the share done, 0 to 1) returning false stops the run.
DieCutLines linesCuttingDie(const Program& program, const WaferLayout& layout, ProgramPoint centre,
                            double tolerance, std::uint64_t maxMotions,
                            const std::function<bool(double)>& progress = {});

/// The texts of `lines` (1-based, ascending) of `text`, in one pass; a line
/// past the end gives an empty text.
std::vector<std::string> lineTexts(std::string_view text, const std::vector<std::uint32_t>& lines);

} // namespace kerf
