// SPDX-License-Identifier: GPL-3.0-or-later
#include "yield/yield_model.h"

#include <cmath>

namespace kerf {

std::string_view modelName(YieldModel model)
{
    switch (model) {
    case YieldModel::Poisson: return "poisson";
    case YieldModel::Murphy: return "murphy";
    case YieldModel::Seeds: return "seeds";
    case YieldModel::Moore: return "moore";
    case YieldModel::BoseEinstein: return "bose-einstein";
    case YieldModel::NegativeBinomial: return "negative-binomial";
    }
    return "";
}

std::optional<YieldModel> modelFromName(std::string_view name)
{
    for (const YieldModel model : YieldModels)
        if (modelName(model) == name)
            return model;
    return std::nullopt;
}

double modelYield(YieldModel model, double x, double parameter)
{
    // expm1 and log1p keep the small x of small dies accurate.
    switch (model) {
    case YieldModel::Poisson: return std::exp(-x);
    case YieldModel::Murphy: {
        if (x == 0)
            return 1;
        const double share = -std::expm1(-x) / x;
        return share * share;
    }
    case YieldModel::Seeds: return 1 / (1 + x);
    case YieldModel::Moore: return std::exp(-std::sqrt(x));
    case YieldModel::BoseEinstein: return std::exp(-parameter * std::log1p(x));
    case YieldModel::NegativeBinomial: return std::exp(-parameter * std::log1p(x / parameter));
    }
    return 0;
}

} // namespace kerf
