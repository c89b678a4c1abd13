// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "program/check/internal/lattice.h"

namespace kerf::cutcheck {

/// A list of pieces keeps up to this many events per piece, and
/// `EventSlack` more, before it sorts and merges them: a run of equal cuts
/// then costs two events and the list never grows past a few per piece.
inline constexpr std::size_t EventsPerPiece = 2;
inline constexpr std::size_t EventSlack = 64;

/// Cut counts over consecutive pieces (the dies of a row, the corners of a
/// row, the pitch-long pieces of a grid line), kept as events: +c at the
/// first piece of a range, −c past its last.
class RangeCounts {
public:
    struct Event {
        Index at;
        std::int64_t delta;
    };

    /// Counts `count` cuts of pieces [from, to) of a list of `pieces`.
    void add(Index from, Index to, std::int64_t count, Index pieces)
    {
        events_.push_back({from, count});
        events_.push_back({to, -count});
        if (events_.size() > EventsPerPiece * static_cast<std::size_t>(pieces) + EventSlack)
            merge();
    }

    /// Sorts the events and merges those at one piece (dropping those that cancel).
    void merge();

    /// The events, sorted and merged once merge() has run since the last add.
    const std::vector<Event>& events() const { return events_; }

    /// Merges, then calls f(from, to, count) for consecutive ranges of equal
    /// count that cover pieces [first, end) (negative counts as 0).
    template <class F>
    void forEachRange(Index first, Index end, F&& f)
    {
        merge();
        std::int64_t running = 0;
        Index at = first;
        std::size_t e = 0;
        while (at < end) {
            for (; e < events_.size() && events_[e].at <= at; ++e)
                running += events_[e].delta;
            const Index next = e < events_.size() ? std::min(events_[e].at, end) : end;
            f(at, next, std::max<std::int64_t>(running, 0));
            at = next;
        }
    }

private:
    std::vector<Event> events_;
};

} // namespace kerf::cutcheck
