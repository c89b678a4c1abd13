// SPDX-License-Identifier: GPL-3.0-or-later
#include "job/job.h"

#include <algorithm>

namespace kerf {
namespace {

template <typename Section, std::size_t N>
Section overlaid(const Section& base, const Section& over, const std::array<JobKey<Section>, N>& keys)
{
    Section section = base;
    for (const auto& key : keys)
        if (over.*key.value)
            section.*key.value = over.*key.value;
    return section;
}

} // namespace

Job overlaidJob(const Job& base, const Job& over)
{
    return {overlaid(base.designer, over.designer, DesignerKeys), overlaid(base.program, over.program, ProgramKeys),
            overlaid(base.yield, over.yield, YieldKeys), overlaid(base.flats, over.flats, FlatKeys)};
}

Job completedJob(const Job& job)
{
    const DesignInput design = designInputOf(job.designer);
    Job completed = jobOf(design.texts, generationTextsOf(job.program), flatTextsOf(job.flats));
    completed.yield = job.yield;
    return completed;
}

bool holdsYield(const JobYield& yield)
{
    return std::any_of(YieldKeys.begin(), YieldKeys.end(), [&](const auto& key) { return (yield.*key.value).has_value(); });
}

YieldTexts yieldTextsOf(const JobYield& yield)
{
    return {yield.defects.value_or(""), yield.model.value_or(""), yield.layers.value_or(""),
            yield.alpha.value_or(""), yield.cost.value_or("")};
}

JobYield jobYieldOf(const YieldTexts& texts)
{
    if (texts.defects.empty())
        return {};
    const auto typed = [](const std::string& text) { return text.empty() ? std::nullopt : std::optional(text); };
    return {texts.defects, texts.model, typed(texts.layers), typed(texts.alpha), typed(texts.cost)};
}

DesignInput designInputOf(const JobDesigner& designer)
{
    // No size chosen leaves the diameter 0 and the effective diameter box empty.
    const std::string wafer = designer.wafer.value_or("");
    const WaferSizeChoice size = chooseWaferSize(wafer, 0);
    DesignInput input;
    input.WaferDiameter = size.WaferDiameter;
    input.texts.waferSize = wafer;
    input.texts.effectiveDiameter = designer.effective.value_or(wafer.empty() ? "" : size.effectiveText);
    input.texts.shape = designer.shape.value_or("");
    input.texts.dieSize = designer.die.value_or("");
    input.texts.fineTune = designer.gap.value_or("");
    return input;
}

DesignInput designInputOf(const Job& job)
{
    DesignInput input = designInputOf(job.designer);
    input.flats = flatTextsOf(job.flats);
    return input;
}

FlatTexts flatTextsOf(const JobFlats& flats)
{
    return {flats.length.value_or(""), flats.at.value_or(""), flats.secondLength.value_or(""),
            flats.secondAt.value_or("")};
}

GenerationTexts generationTextsOf(const JobProgram& program)
{
    GenerationTexts texts;
    texts.name = program.name.value_or(texts.name);
    texts.passes = program.passes.value_or(texts.passes);
    texts.DVL = program.dvl.value_or(texts.DVL);
    texts.DAC = program.dac.value_or(texts.DAC);
    texts.VEL = program.vel.value_or(texts.VEL);
    texts.ACC = program.acc.value_or(texts.ACC);
    return texts;
}

Job jobOf(const DesignTexts& designer, const GenerationTexts& program, const FlatTexts& flats)
{
    const auto typed = [](const std::string& text) { return text.empty() ? std::nullopt : std::optional(text); };
    return {{designer.waferSize, designer.effectiveDiameter, designer.shape, designer.dieSize, designer.fineTune},
            {program.name, program.passes, program.DVL, program.DAC, program.VEL, program.ACC},
            {},
            {typed(flats.length), typed(flats.at), typed(flats.secondLength), typed(flats.secondAt)}};
}

} // namespace kerf
