// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/background/background_pool.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>

#include <QThread>
#include <QThreadPool>

namespace kerf::ui {

namespace {

// Room for the preview's three runs beside a chart that takes every core.
int poolThreads() { return std::max(4, QThread::idealThreadCount() + 2); }

} // namespace

QThreadPool& backgroundPool()
{
    static QThreadPool* const pool = [] {
        auto* threads = new QThreadPool; // lives as long as the process: tasks may outlive every window
        threads->setMaxThreadCount(poolThreads());
        threads->setObjectName(QStringLiteral("kerf background"));
        return threads;
    }();
    return *pool;
}

void runInBackground(std::function<void()> task)
{
    QThreadPool& pool = backgroundPool();
    if (pool.tryStart(task))
        return;
    if (pool.activeThreadCount() == 0) {
        task(); // the pool has room but could start no thread
        return;
    }
    pool.start(std::move(task));
}

bool forEachIndex(std::size_t count, const std::function<bool(double done)>& progress,
                  const std::function<void(std::size_t index)>& each)
{
    struct Shared {
        std::atomic<std::size_t> next{0};
        std::atomic<std::size_t> done{0};
        std::atomic<bool> stop{false};
        std::mutex mutex;
        std::condition_variable helpersGone;
        int helpers = 0;
        std::exception_ptr failure;
    };
    const auto shared = std::make_shared<Shared>();
    const auto work = [shared, count, &progress, &each] {
        for (std::size_t index; !shared->stop && (index = shared->next++) < count;) {
            try {
                each(index);
            } catch (...) {
                const std::lock_guard lock(shared->mutex);
                if (!shared->failure)
                    shared->failure = std::current_exception();
                shared->stop = true;
                return;
            }
            const std::size_t done = ++shared->done;
            if (!progress(double(done) / double(count)))
                shared->stop = true;
        }
    };
    // Helpers only on threads that are idle now: a queued helper would hold
    // the caller back once it has run out of indices.
    QThreadPool& pool = backgroundPool();
    const int wanted = static_cast<int>(std::min<std::size_t>(count, std::max(1, QThread::idealThreadCount()))) - 1;
    for (int i = 0; i < wanted; ++i) {
        {
            const std::lock_guard lock(shared->mutex);
            ++shared->helpers;
        }
        const bool started = pool.tryStart([shared, work] {
            work();
            const std::lock_guard lock(shared->mutex);
            if (--shared->helpers == 0)
                shared->helpersGone.notify_all();
        });
        if (!started) {
            const std::lock_guard lock(shared->mutex);
            --shared->helpers;
            break;
        }
    }
    work();
    std::unique_lock lock(shared->mutex);
    shared->helpersGone.wait(lock, [&] { return shared->helpers == 0; });
    if (shared->failure)
        std::rethrow_exception(shared->failure);
    return shared->done == count;
}

} // namespace kerf::ui
