// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace kerf {

/// The yield models, by their usual names. With x = die area × defect density:
/// poisson e^−x; murphy ((1 − e^−x)/x)² (1 at x = 0); seeds 1/(1 + x);
/// moore e^−√x; bose-einstein (1 + x)^−n with n critical layers;
/// negative-binomial (1 + x/α)^−α with the clustering parameter α.
enum class YieldModel { Poisson, Murphy, Seeds, Moore, BoseEinstein, NegativeBinomial };

inline constexpr std::array<YieldModel, 6> YieldModels = {YieldModel::Poisson,      YieldModel::Murphy,
                                                          YieldModel::Seeds,        YieldModel::Moore,
                                                          YieldModel::BoseEinstein, YieldModel::NegativeBinomial};

/// "poisson", "murphy", "seeds", "moore", "bose-einstein", "negative-binomial".
std::string_view modelName(YieldModel model);
/// The model of `name`, exactly as modelName spells it; none for any other text.
std::optional<YieldModel> modelFromName(std::string_view name);

/// The models with a parameter: the layers n, the clustering α.
inline bool usesLayers(YieldModel model) { return model == YieldModel::BoseEinstein; }
inline bool usesAlpha(YieldModel model) { return model == YieldModel::NegativeBinomial; }

/// The share of dies without a killing defect for x = area × density ≥ 0;
/// `parameter` is n for bose-einstein, α for negative-binomial, else unused.
double modelYield(YieldModel model, double x, double parameter);

} // namespace kerf
