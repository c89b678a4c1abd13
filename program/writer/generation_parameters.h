// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <variant>

#include "program/writer/generation_refusal.h"

namespace kerf {

/// The generation window's boxes as typed (UTF-8); the defaults are the
/// texts the window opens with.
struct GenerationTexts {
    std::string name;          // Text1
    std::string passes = "1";  // Text2
    std::string DVL = "0.6";   // Text3
    std::string DAC = "6.0";   // Text4
    std::string VEL = "0.6";   // Text5
    std::string ACC = "6.0";   // Text6
};

/// The most characters the pass count box holds.
inline constexpr std::size_t PassCountMaxLength = 3;

/// The machine parameters of one run, texts still as typed.
struct MachineParameters {
    std::int16_t CutCount = 1;
    std::string DVL;
    std::string DAC;
    std::string VEL;
    std::string ACC;

    bool operator==(const MachineParameters&) const = default;
};

/// The parameters from the boxes: an empty pass count is 1, else the number
/// rounded to a whole count with halves to even («2.5» gives 2); an empty DVL
/// is "0.6", an empty DAC "6.0"; an empty VEL takes the DVL just read, an
/// empty ACC the DAC. Refused, with the box to fix: a pass count longer than
/// the box, not a number, or below 1 once rounded; a DVL, DAC, VEL or ACC
/// that is not a plain number (digits with at most one point, an optional
/// "-", no blanks), which the machine could not read. Accepted texts are kept
/// as typed.
std::variant<MachineParameters, GenerationRefusal> ReadGenerationParameters(const GenerationTexts& texts);

} // namespace kerf
