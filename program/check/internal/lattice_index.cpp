// SPDX-License-Identifier: GPL-3.0-or-later
#include "program/check/internal/lattice_index.h"

namespace kerf::cutcheck {

bool inProportion(Index span, std::size_t items)
{
    return span >= 0 && span <= SpanPerItem * static_cast<Index>(items) + SpanSlack;
}

bool LatticeIndex::cover(Index lowest, Index highest, std::size_t items)
{
    lowest_ = lowest;
    slots_.clear();
    const Index span = highest - lowest + 1;
    if (!inProportion(span, items))
        return false;
    slots_.assign(static_cast<std::size_t>(span), None);
    return true;
}

void LatticeIndex::keepFirst(Index position, std::size_t item)
{
    std::int32_t& slot = slots_[static_cast<std::size_t>(position - lowest_)];
    if (slot == None)
        slot = static_cast<std::int32_t>(item);
}

void LatticeIndex::put(Index position, std::size_t item)
{
    slots_[static_cast<std::size_t>(position - lowest_)] = static_cast<std::int32_t>(item);
}

} // namespace kerf::cutcheck
