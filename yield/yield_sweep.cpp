// SPDX-License-Identifier: GPL-3.0-or-later
#include "yield/yield_sweep.h"

#include <charconv>

namespace kerf {

std::optional<GoodDies> pointGoodDies(const SweepPoint& point, const YieldSettings& settings)
{
    if (!point.results)
        return std::nullopt;
    const std::string& text = point.results->dies;
    long long gross = 0;
    std::from_chars(text.data(), text.data() + text.size(), gross);
    return goodDies(settings, gross, point.dieAreaCm2);
}

std::optional<std::size_t> mostGoodDiesPoint(const std::vector<SweepPoint>& points, const std::string& shape,
                                             const YieldSettings& settings)
{
    std::optional<std::size_t> best;
    long long most = -1;
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (points[i].shape != shape)
            continue;
        if (const auto dies = pointGoodDies(points[i], settings); dies && dies->goodDies > most) {
            most = dies->goodDies;
            best = i;
        }
    }
    return best;
}

SweepCsvColumns yieldCsvColumns(const YieldSettings& settings)
{
    const bool cost = settings.waferCost.has_value();
    return {cost ? ",good_dies,yield_percent,cost_per_good_die" : ",good_dies,yield_percent",
            [settings, cost](const SweepPoint& point) {
                const auto dies = pointGoodDies(point, settings);
                if (!dies)
                    return std::string(cost ? ",,," : ",,");
                std::string fields = ',' + std::to_string(dies->goodDies) + ',' + exactNumberText(dies->yield * 100);
                if (cost)
                    fields += ',' + (dies->costPerGoodDie ? exactNumberText(*dies->costPerGoodDie) : std::string());
                return fields;
            }};
}

} // namespace kerf
