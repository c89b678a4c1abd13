// SPDX-License-Identifier: GPL-3.0-or-later
#include "yield/yield_settings.h"

#include <charconv>
#include <cmath>

namespace kerf {
namespace {

// A finite decimal number, blanks around it allowed; none for anything else.
std::optional<double> numberOf(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return std::nullopt;
    text = text.substr(first, text.find_last_not_of(" \t") + 1 - first);
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::string modelList()
{
    std::string names;
    for (const YieldModel model : YieldModels)
        names += (names.empty() ? "" : "、") + std::string(modelName(model));
    return names;
}

} // namespace

std::variant<YieldSettings, YieldRefusal> readYieldSettings(const YieldTexts& texts)
{
    YieldSettings settings;
    const auto density = numberOf(texts.defects);
    if (!density || *density < 0)
        return YieldRefusal{"缺陷密度必須是 0 以上的數值（每平方公分的缺陷數）。", YieldBox::Defects};
    settings.defectDensity = *density;
    const auto model = modelFromName(texts.model);
    if (texts.model.empty())
        return YieldRefusal{"未選擇良率模型，請用 " + modelList() + " 其中之一。", YieldBox::Model};
    if (!model)
        return YieldRefusal{"良率模型「" + texts.model + "」不認得，請用 " + modelList() + " 其中之一。",
                            YieldBox::Model};
    settings.model = *model;
    if (usesLayers(*model) && !texts.layers.empty()) {
        const auto layers = numberOf(texts.layers);
        if (!layers || *layers < 1)
            return YieldRefusal{"關鍵層數 n 必須是 1 以上的數值。", YieldBox::Layers};
        settings.layers = *layers;
    }
    if (usesAlpha(*model) && !texts.alpha.empty()) {
        const auto alpha = numberOf(texts.alpha);
        if (!alpha || *alpha <= 0)
            return YieldRefusal{"叢集參數 α 必須是大於 0 的數值。", YieldBox::Alpha};
        settings.alpha = *alpha;
    }
    if (!texts.cost.empty()) {
        const auto cost = numberOf(texts.cost);
        if (!cost || *cost < 0)
            return YieldRefusal{"晶片成本必須是 0 以上的數值。", YieldBox::Cost};
        settings.waferCost = *cost;
    }
    return settings;
}

} // namespace kerf
