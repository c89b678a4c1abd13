// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory_resource>
#include <span>
#include <vector>

#include "program/check/internal/lattice.h"

namespace kerf::cutcheck {

/// A list of pieces keeps up to this many events per piece, and
/// `EventSlack` more, before it sorts and merges them: a run of equal cuts
/// then costs two events and the list never grows past a few per piece.
inline constexpr std::size_t EventsPerPiece = 2;
inline constexpr std::size_t EventSlack = 64;
/// A list of events starts with room for two cuts, and grows by one cut at
/// a time up to this long.
inline constexpr std::size_t FirstRoom = 4;
inline constexpr std::size_t ShortList = 16;

/// Cut counts over consecutive pieces (the dies of a row, the corners of a
/// row, the pitch-long pieces of a grid line), kept as events: +c at the
/// first piece of a range, −c past its last.
class RangeCounts {
public:
    struct Event {
        Index at;
        std::int64_t delta;
    };

    /// Counts kept in `memory`: many short lists share a pool.
    explicit RangeCounts(std::pmr::memory_resource* memory = std::pmr::get_default_resource()) : events_(memory) {}

    /// Counts `count` cuts of pieces [from, to) of a list of `pieces`.
    void add(Index from, Index to, std::int64_t count, Index pieces)
    {
        // Full: merge rather than grow. A short list grows by one cut, a long
        // one doubles when merging left it more than half full, so that most
        // lists keep just the few events they need and merging stays cheap.
        if (events_.size() + 2 > events_.capacity()) {
            merge();
            const std::size_t room = events_.capacity();
            if (events_.size() + 2 > room)
                events_.reserve(room == 0 ? FirstRoom : room < ShortList ? room + 2 : 2 * room);
            else if (room >= ShortList && events_.size() > room / 2)
                events_.reserve(2 * room);
        }
        events_.push_back({from, count});
        events_.push_back({to, -count});
        if (events_.size() > EventsPerPiece * static_cast<std::size_t>(pieces) + EventSlack)
            merge();
    }

    /// Sorts the events and merges those at one piece (dropping those that cancel).
    void merge();

    /// The events, sorted and merged once merge() has run since the last add.
    std::span<const Event> events() const { return events_; }

    /// Walks merged events forward: the count at a piece, and where it next changes.
    class Walk {
    public:
        Walk() = default;
        explicit Walk(std::span<const Event> events) : next_(events.data()), end_(events.data() + events.size()) {}
        /// The count at piece `at` (negative counts as 0); `at` never goes back.
        std::int64_t countAt(Index at)
        {
            for (; next_ != end_ && next_->at <= at; ++next_)
                running_ += next_->delta;
            return std::max<std::int64_t>(running_, 0);
        }
        /// The first piece past the last countAt where the count changes, at most `end`.
        Index changeBefore(Index end) const { return next_ != end_ ? std::min(next_->at, end) : end; }

    private:
        const Event* next_ = nullptr;
        const Event* end_ = nullptr;
        std::int64_t running_ = 0;
    };

    /// Merges, then calls f(from, to, count) for consecutive ranges of equal
    /// count that cover pieces [first, end) (negative counts as 0).
    template <class F>
    void forEachRange(Index first, Index end, F&& f)
    {
        merge();
        Walk walk(events_);
        for (Index at = first; at < end;) {
            const std::int64_t count = walk.countAt(at);
            const Index next = walk.changeBefore(end);
            f(at, next, count);
            at = next;
        }
    }

private:
    std::pmr::vector<Event> events_;
};

} // namespace kerf::cutcheck
