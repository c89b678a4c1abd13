// SPDX-License-Identifier: GPL-3.0-or-later
#include "yield/good_dies.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace kerf {

GoodDies goodDies(const YieldSettings& settings, long long grossDies, double dieAreaCm2)
{
    GoodDies dies;
    dies.dieAreaCm2 = dieAreaCm2;
    dies.yield = modelYield(settings.model, dieAreaCm2 * settings.defectDensity, settings.parameter());
    dies.goodDies = static_cast<long long>(std::floor(static_cast<double>(grossDies) * dies.yield));
    if (settings.waferCost) {
        if (dies.goodDies > 0)
            dies.costPerGoodDie = *settings.waferCost / static_cast<double>(dies.goodDies);
        else
            dies.costNote = NoGoodDieNote;
    }
    return dies;
}

std::string exactNumberText(double value)
{
    char text[64];
    const auto [end, ec] = std::to_chars(text, text + sizeof text, value);
    return std::string(text, ec == std::errc() ? end : text);
}

namespace {

std::string fixedText(double value, int decimals)
{
    char text[400];
    const auto [end, ec] = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    return std::string(text, ec == std::errc() ? end : text);
}

} // namespace

std::string yieldModelText(const YieldSettings& settings)
{
    std::string text(modelName(settings.model));
    if (usesLayers(settings.model))
        text += "（n = " + exactNumberText(settings.layers) + "）";
    if (usesAlpha(settings.model))
        text += "（α = " + exactNumberText(settings.alpha) + "）";
    return text;
}

std::string yieldPercentText(double yield) { return fixedText(yield * 100, 2) + " %"; }

std::string costPerGoodDieText(const GoodDies& dies)
{
    if (!dies.costPerGoodDie)
        return dies.costNote.empty() ? "—" : dies.costNote;
    const double cost = *dies.costPerGoodDie;
    const int digits = cost > 0 ? static_cast<int>(std::floor(std::log10(cost))) : 0;
    return fixedText(cost, std::clamp(3 - digits, 0, 12));
}

} // namespace kerf
