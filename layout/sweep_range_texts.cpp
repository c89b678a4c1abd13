// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/sweep_range_texts.h"

#include <charconv>
#include <cmath>

namespace kerf {

namespace {

template <typename Number>
bool readNumber(const std::string& text, Number& number)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    return error == std::errc() && end == text.data() + text.size();
}

} // namespace

std::optional<SweepRangeRefusal> readSweepRange(const SweepRangeTexts& texts, SweepRequest& request)
{
    constexpr auto RangeFault = "晶粒尺寸範圍必須是大於 0 的數值（mil）。";
    if (!readNumber(texts.from, request.fromMil) || !std::isfinite(request.fromMil) || request.fromMil <= 0)
        return SweepRangeRefusal{RangeFault, SweepRangeBox::From};
    if (!readNumber(texts.to, request.toMil) || !std::isfinite(request.toMil) || request.toMil <= 0)
        return SweepRangeRefusal{RangeFault, SweepRangeBox::To};
    if (!readNumber(texts.steps, request.steps) || request.steps < MinSweepSteps || request.steps > MaxSweepSteps)
        return SweepRangeRefusal{"點數必須是 2 到 10000 的整數。", SweepRangeBox::Steps};
    if (const auto fault = sweepRequestFault(request))
        return SweepRangeRefusal{*fault, SweepRangeBox::From};
    return std::nullopt;
}

} // namespace kerf
