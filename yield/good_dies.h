// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "yield/yield_settings.h"

namespace kerf {

/// The good dies of a layout under yield settings.
struct GoodDies {
    double dieAreaCm2 = 0;
    double yield = 0; ///< a share, 0 to 1
    long long goodDies = 0; ///< ⌊gross dies × yield⌋
    /// The wafer's cost over the good dies; none without a cost or without a good die.
    std::optional<double> costPerGoodDie;
    /// Why a cost was given but no cost per good die follows; empty otherwise.
    std::string costNote;
};

/// Said for a cost per good die when no die is good.
inline constexpr std::string_view NoGoodDieNote = "沒有良品晶粒，無法算出每顆良品的成本。";

/// The good dies of `grossDies` dies of `dieAreaCm2` each.
GoodDies goodDies(const YieldSettings& settings, long long grossDies, double dieAreaCm2);

/// A number with the fewest digits that read back as the same double
/// ("0.1", "1e-20"), for the files.
std::string exactNumberText(double value);
/// The model with its parameter, «murphy», «bose-einstein（n = 2）»,
/// «negative-binomial（α = 2）», for the windows and the job sheet.
std::string yieldModelText(const YieldSettings& settings);
/// The yield in percent with two decimals, «87.65 %», for the windows.
std::string yieldPercentText(double yield);
/// A cost with four significant digits, at least a whole one («12.35»,
/// «0.01235», «12346»), for the windows; the note when there is none, or
/// «—» without a cost.
std::string costPerGoodDieText(const GoodDies& dies);

} // namespace kerf
