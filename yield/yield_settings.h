// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "yield/yield_model.h"

namespace kerf {

/// The yield boxes' texts as typed: the defect density (defects per cm²),
/// the model's name, its parameters and the cost of one wafer. An empty
/// layers or α box is its default; an empty cost box means no cost.
struct YieldTexts {
    std::string defects;
    std::string model;
    std::string layers;
    std::string alpha;
    std::string cost;

    bool operator==(const YieldTexts&) const = default;
};

/// What an empty layers box means: one critical layer.
inline constexpr double DefaultLayers = 1;
/// What an empty α box means. α = 2 is the clustering long used by the
/// industry's yield roadmaps for the negative binomial: between strong
/// clustering (α ≈ 0.5, near seeds) and none (α → ∞, poisson).
inline constexpr double DefaultAlpha = 2;

/// The yield settings read from their boxes.
struct YieldSettings {
    YieldModel model = YieldModel::Poisson;
    double defectDensity = 0; ///< defects per cm²
    double layers = DefaultLayers;
    double alpha = DefaultAlpha;
    std::optional<double> waferCost;

    /// The model's parameter: n, α, or nothing used.
    double parameter() const { return usesLayers(model) ? layers : alpha; }
};

/// The box a refusal names, for the focus.
enum class YieldBox { Defects, Model, Layers, Alpha, Cost };

struct YieldRefusal {
    std::string prompt;
    YieldBox box = YieldBox::Defects;
};

/// The settings of `texts`, or the refusal naming the box: a density that is
/// no number or negative, an unknown model, n < 1, α ≤ 0 (only the
/// parameter the model uses is read), a cost that is no number or negative.
/// Numbers are decimal, blanks around them allowed, infinities refused.
std::variant<YieldSettings, YieldRefusal> readYieldSettings(const YieldTexts& texts);

} // namespace kerf
