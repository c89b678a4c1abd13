// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/yield_options.h"

#include "cli/json_text.h"

namespace kerf::cli {

void addYieldOptions(CLI::App& app, JobYield& yield)
{
    addTextOption(app, "--defects", yield.defects, "D", "缺陷密度（每平方公分的缺陷數，0 以上）");
    addTextOption(app, "--yield-model", yield.model, "NAME",
                  "良率模型：poisson、murphy、seeds、moore、bose-einstein 或 negative-binomial");
    addTextOption(app, "--layers", yield.layers, "N", "bose-einstein 的關鍵層數（1 以上，預設 1）");
    addTextOption(app, "--alpha", yield.alpha, "A", "negative-binomial 的叢集參數 α（大於 0，預設 2）");
    addTextOption(app, "--wafer-cost", yield.cost, "C", "一片晶片的成本（任何幣別，0 以上）");
}

bool readCommandYield(const JobYield& yield, std::optional<YieldSettings>& settings, std::ostream& err)
{
    if (!holdsYield(yield))
        return true;
    const auto read = readYieldSettings(yieldTextsOf(yield));
    if (const auto* refusal = std::get_if<YieldRefusal>(&read)) {
        err << refusal->prompt << '\n';
        return false;
    }
    settings = std::get<YieldSettings>(read);
    return true;
}

std::string yieldJsonMember(const YieldSettings& settings, const GoodDies& dies)
{
    std::string json = ",\n \"yield\": {\"model\": ";
    appendJsonString(json, modelName(settings.model));
    json += ", \"defectDensity\": " + exactNumberText(settings.defectDensity);
    json += ", \"dieAreaCm2\": " + exactNumberText(dies.dieAreaCm2);
    json += ", \"yield\": " + exactNumberText(dies.yield);
    json += ", \"goodDies\": " + std::to_string(dies.goodDies);
    json += ", \"costPerGoodDie\": " + (dies.costPerGoodDie ? exactNumberText(*dies.costPerGoodDie) : "null");
    if (!dies.costNote.empty()) {
        json += ", \"costNote\": ";
        appendJsonString(json, dies.costNote);
    }
    return json + '}';
}

} // namespace kerf::cli
