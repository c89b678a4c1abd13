// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kerf::cutcheck {

/// Cuts that cover only part of an element (a hexagon edge, a pitch-long
/// piece of a grid line, a turn about a round die), kept as stretches of the
/// element from 0 to 1 along it. Pieces of cut add up: once the run is over an
/// element counts as cut as often as its thinnest point is covered. Whole
/// elements are counted elsewhere; only the parts are kept here.
class PartCuts {
public:
    /// Parts kept at most; a program that needs more goes past the check's bounds.
    static constexpr std::size_t MostParts = std::size_t(1) << 22;

    /// `times` cuts of [from, to] of `element` (0 ≤ from < to ≤ 1); false
    /// when the parts are too many to keep.
    bool add(std::uint64_t element, double from, double to, std::int64_t times);

    /// Calls f(element, cuts) for every element whose thinnest point is cut
    /// (cuts > 0); stretches that lie closer than `slack` (of the element's
    /// length) count as meeting.
    template <class F>
    void forEachCovered(double slack, F&& f)
    {
        sort();
        for (std::size_t i = 0; i < parts_.size();) {
            std::size_t end = i;
            while (end < parts_.size() && parts_[end].element == parts_[i].element)
                ++end;
            if (const std::int64_t cuts = thinnest(i, end, slack); cuts > 0)
                f(parts_[i].element, cuts);
            i = end;
        }
    }

private:
    struct Part {
        std::uint64_t element;
        double from;
        double to;
        std::int64_t times;
    };

    void sort();
    /// The fewest cuts over [0, 1] of the parts [begin, end) of one element.
    std::int64_t thinnest(std::size_t begin, std::size_t end, double slack);

    std::vector<Part> parts_;
    struct Event {
        double at;
        std::int64_t delta;
    };
    std::vector<Event> events_;
};

} // namespace kerf::cutcheck
