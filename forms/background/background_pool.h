// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <functional>

class QThreadPool;

namespace kerf::ui {

/// The threads of the windows' background work, apart from Qt's global pool,
/// which painting and Qt itself use: however much work is queued here, the
/// windows keep repainting.
QThreadPool& backgroundPool();

/// Runs `task` in the background pool, queued while every thread is busy;
/// where no thread can be started at all, on the calling thread before it returns.
void runInBackground(std::function<void()> task);

/// Calls `each(index)` for every index below `count`, spread over the
/// calling thread and the background pool's idle threads, and `progress`
/// with the share done as the indices are done (from any of these threads).
/// Stops taking indices once `progress` says false; an exception from
/// `each` stops the others and passes through once they have stopped.
/// True when every index was done.
bool forEachIndex(std::size_t count, const std::function<bool(double done)>& progress,
                  const std::function<void(std::size_t index)>& each);

} // namespace kerf::ui
