// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "program/check/internal/lattice.h"

namespace kerf::cutcheck {

/// How far an index over lattice positions may reach for the things it
/// finds: a span of `SpanPerItem` positions per thing and `SpanSlack` more.
/// The layouts of the design driver need about one position per thing; a
/// layout whose positions lie far off its lattice needs far more and is not
/// indexed, so that an index never costs memory out of proportion with the
/// rows it holds.
inline constexpr Index SpanPerItem = 8;
inline constexpr Index SpanSlack = 64;

/// Whether an index over `span` lattice positions for `items` things is in
/// proportion to them.
bool inProportion(Index span, std::size_t items);

/// Which of a list of things lies at each lattice position of one axis:
/// found with one subtraction and one lookup.
class LatticeIndex {
public:
    static constexpr std::int32_t None = -1;

    /// Covers positions [lowest, highest], none holding a thing yet. False,
    /// covering nothing, when the span is out of proportion with `items`.
    bool cover(Index lowest, Index highest, std::size_t items);

    /// Puts thing `item` at `position` unless one is there already (the
    /// first of those that share a position is found).
    void keepFirst(Index position, std::size_t item);
    /// Puts thing `item` at `position`, over one that is there.
    void put(Index position, std::size_t item);

    /// The thing at `position`, None for none or off the index.
    std::int32_t at(Index position) const
    {
        const Index k = position - lowest_;
        return k < 0 || k >= span() ? None : slots_[static_cast<std::size_t>(k)];
    }

    /// The thing of `items` at `position`, nullptr for none.
    template <class T>
    T* in(std::span<T> items, Index position) const
    {
        const std::int32_t k = at(position);
        return k == None ? nullptr : &items[static_cast<std::size_t>(k)];
    }

    Index lowest() const { return lowest_; }
    /// How many positions it covers: 0 when not indexed.
    Index span() const { return static_cast<Index>(slots_.size()); }
    bool empty() const { return slots_.empty(); }

private:
    std::vector<std::int32_t> slots_; // by position − lowest_: the thing's place in its list, None for none
    Index lowest_ = 0;
};

} // namespace kerf::cutcheck
