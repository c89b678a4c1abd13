// SPDX-License-Identifier: GPL-3.0-or-later
#include "program/check/internal/run_levels.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace kerf::cutcheck {

namespace {

std::uint64_t saturatedProduct(std::uint64_t a, std::uint64_t b)
{
    return b != 0 && a > std::numeric_limits<std::uint64_t>::max() / b ? std::numeric_limits<std::uint64_t>::max()
                                                                      : a * b;
}

} // namespace

RunLevels splitLevels(const MotionRun& run)
{
    RunLevels split;
    for (std::size_t k = 0; k < run.depth; ++k) {
        const RunLevel& level = run.levels[k];
        if (level.count <= 1)
            continue;
        if (level.step == ProgramPoint{}) {
            split.times = saturatedProduct(split.times, level.count);
            split.retracing[split.retracingCount++] = k;
        } else {
            split.distinct = saturatedProduct(split.distinct, level.count);
            split.moving[split.movingCount++] = k;
        }
    }
    return split;
}

Motion lastCopy(const Motion& first, ProgramPoint step, std::uint64_t copies)
{
    Motion last = first;
    const double along = step.x * static_cast<double>(copies - 1);
    const double across = step.y * static_cast<double>(copies - 1);
    last.from = {last.from.x + along, last.from.y + across};
    last.to = {last.to.x + along, last.to.y + across};
    if (last.kind == MotionKind::Arc)
        last.centre = {last.centre.x + along, last.centre.y + across};
    return last;
}

void retraceOffsets(const MotionRun& run, const RunLevels& levels, std::size_t most,
                    std::vector<std::uint64_t>& offsets)
{
    offsets.assign(1, 0);
    const std::size_t count = levels.retracingCount;
    if (count == 0)
        return;
    std::array<std::uint64_t, MaxRunLevels> index{};
    while (offsets.size() < std::max<std::size_t>(most, 1)) {
        std::size_t l = 0;
        for (; l < count; ++l) {
            if (++index[l] < run.levels[levels.retracing[l]].count)
                break;
            index[l] = 0;
        }
        if (l == count)
            return;
        std::uint64_t offset = 0;
        for (std::size_t k = 0; k < count; ++k)
            offset += index[k] * run.levels[levels.retracing[k]].motions;
        offsets.push_back(offset);
    }
}

} // namespace kerf::cutcheck
